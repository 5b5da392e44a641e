#include "platform/focus/ProgramIdentity.h"

#include <algorithm>
#include <fstream>
#include <strings.h>
#include <unistd.h>

namespace padwright {

namespace {

bool IsOwnName(const std::string& name) {
    return strcasecmp(name.c_str(), OwnProgramName) == 0;
}

} // namespace

std::string ExecutableName(std::int64_t pid) {
    if (pid <= 0)
        return {};
    const std::string folder = "/proc/" + std::to_string(pid);
    char target[4096];
    const ssize_t length = readlink((folder + "/exe").c_str(), target, sizeof target - 1);
    if (length > 0) {
        std::string path(target, static_cast<std::size_t>(length));
        // A program replaced on disk while it runs (an update) still has its name.
        constexpr std::string_view deleted = " (deleted)";
        if (path.ends_with(deleted))
            path.resize(path.size() - deleted.size());
        return path.substr(path.rfind('/') + 1);
    }
    std::ifstream comm(folder + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

ForegroundProgram IdentifyProgram(const WindowFacts& window) {
    ForegroundProgram program{window.wmClass, window.wmInstance, window.appId,
                              ExecutableName(window.pid)};
    program.own = (window.pid > 0 && window.pid == getpid()) || IsOwnName(window.wmClass) ||
                  IsOwnName(window.wmInstance) || IsOwnName(window.appId);
    return program;
}

std::vector<ForegroundProgram> DistinctPrograms(const std::vector<WindowFacts>& windows) {
    std::vector<ForegroundProgram> programs;
    for (const WindowFacts& window : windows) {
        ForegroundProgram program = IdentifyProgram(window);
        if (!program.own && program != ForegroundProgram{} &&
            std::find(programs.begin(), programs.end(), program) == programs.end())
            programs.push_back(std::move(program));
    }
    return programs;
}

} // namespace padwright
