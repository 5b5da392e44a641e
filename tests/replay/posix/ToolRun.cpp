#include "ToolRun.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace padwright::test {

int RunTool(const std::string& program, const std::vector<std::string>& args,
            const std::filesystem::path& input, const std::filesystem::path& output,
            const std::filesystem::path& errors, bool capMemory) {
    std::vector<std::string> words{program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(::open(input.c_str(), O_RDONLY), 0);
        ::dup2(::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        ::dup2(::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        const rlimit limit{4000000000, 4000000000};
        if (capMemory && ::setrlimit(RLIMIT_AS, &limit) != 0)
            ::_exit(126);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace padwright::test
