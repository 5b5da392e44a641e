#include "Spawn.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <grp.h>
#include <unistd.h>

extern char** environ;

namespace padwright::testing {

namespace {

std::vector<std::string> MergedEnvironment(const std::map<std::string, std::string>& overrides) {
    std::map<std::string, std::string> all;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const auto eq = entry.find('=');
        if (eq != std::string::npos)
            all[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    for (const auto& [key, value] : overrides)
        if (value.empty())
            all.erase(key);
        else
            all[key] = value;
    std::vector<std::string> out;
    for (const auto& [key, value] : all)
        out.push_back(key + "=" + value);
    return out;
}

} // namespace

pid_t Spawn(const std::vector<std::string>& argv, const SpawnOptions& options) {
    if (argv.empty())
        throw std::runtime_error("cannot start a program: no program named");
    // Everything the child needs is made before the fork: it only calls what is safe there.
    const std::vector<std::string> envStrings = MergedEnvironment(options.env);
    std::vector<char*> args, envp;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const std::string& e : envStrings)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork: " + std::string(std::strerror(errno)));
    if (pid > 0)
        return pid;
    if (options.in >= 0)
        dup2(options.in, STDIN_FILENO);
    if (options.out >= 0)
        dup2(options.out, STDOUT_FILENO);
    if (options.err >= 0)
        dup2(options.err, STDERR_FILENO);
    if (options.inherit >= 0)
        fcntl(options.inherit, F_SETFD, 0);
    if (!options.workdir.empty() && chdir(options.workdir.c_str()) != 0)
        _exit(126);
    if (options.uid != 0 &&
        (setgroups(0, nullptr) != 0 || setgid(options.uid) != 0 || setuid(options.uid) != 0))
        _exit(125);
    execvpe(args[0], args.data(), envp.data());
    _exit(127);
}

} // namespace padwright::testing
