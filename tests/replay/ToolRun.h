#pragma once
// Runs a program as a user's shell would, without a shell: arguments as given, standard input
// from a file, output and errors into files. One implementation per system.
#include <filesystem>
#include <string>
#include <vector>

namespace padwright::test {

// The exit code, -1 when the program did not exit by itself. `capMemory`: at most 4 GB of
// address space where the system can limit it, so that a run that tries to load a terabyte
// fails fast instead of filling the machine.
int RunTool(const std::string& program, const std::vector<std::string>& args,
            const std::filesystem::path& input, const std::filesystem::path& output,
            const std::filesystem::path& errors, bool capMemory);

} // namespace padwright::test
