#pragma once
// Starting a program from a test: the one fork and exec that the tests' process helpers (the X
// server, the program under test, a guest's programs) share.
#include <map>
#include <string>
#include <vector>

#include <sys/types.h>

namespace padwright::testing {

struct SpawnOptions {
    // Added to the test's own environment; an empty value removes the variable.
    std::map<std::string, std::string> env;
    // Empty: the test's own directory.
    std::string workdir;
    // Other than 0: the program runs as that user and group.
    uid_t uid = 0;
    // What standard input, output and error become (-1: the test's own).
    int in = -1;
    int out = -1;
    int err = -1;
    // A descriptor the program keeps open although it was opened close-on-exec (-1: none).
    int inherit = -1;
};

// Starts `argv[0]` (looked up in PATH when it has no slash) with `argv`. In the child, a folder
// that cannot be entered exits 126, a user that cannot be taken 125, a program that cannot be run
// 127. Throws std::runtime_error when there is no child.
pid_t Spawn(const std::vector<std::string>& argv, const SpawnOptions& options = {});

} // namespace padwright::testing
