#include "ReplayToolRig.h"

#include <cstdlib>
#include <sys/wait.h>

namespace padwright::test {

// Through the shell, every word quoted (the tests' hold no quote).
int RunTool(const std::string& program, const std::vector<std::string>& args, const fs::path& input,
            const fs::path& output, const fs::path& errors, bool capMemory) {
    std::string command = (capMemory ? "ulimit -v 4000000; '" : "'") + program + "'";
    for (const std::string& arg : args)
        command += " '" + arg + "'";
    command +=
        " < '" + input.string() + "' > '" + output.string() + "' 2> '" + errors.string() + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace padwright::test
