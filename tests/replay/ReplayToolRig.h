#pragma once
// padwright-replay seen from outside: a fresh folder, the tool run on a script, its printed calls
// and exit code.
#include "engine/Records.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace padwright::test {

namespace fs = std::filesystem;

// Runs `program` with `args`, standard input from `input`, output and errors into files; the exit
// code, -1 when it did not exit by itself. `capMemory`: at most 4 GB of address space where the
// system limits it, so that a faulty run that loads a terabyte fails fast. One file per system.
int RunTool(const std::string& program, const std::vector<std::string>& args, const fs::path& input,
            const fs::path& output, const fs::path& errors, bool capMemory);

struct Result {
    int exitCode = -1;
    std::string out, err;
};

class ReplayTool : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("padwright-replay-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // Runs the tool with `args` and the script on standard input.
    Result Run(const std::string& script, const std::vector<std::string>& args = {},
               bool capMemory = false) {
        std::ofstream(dir / "script.txt", std::ios::binary) << script;
        Result r;
        r.exitCode =
            RunTool(REPLAY_BINARY, args, dir / "script.txt", dir / "out", dir / "err", capMemory);
        r.out = Read(dir / "out");
        r.err = Read(dir / "err");
        return r;
    }

    // A store file of the current format: one record per profile.
    fs::path WriteStore(const std::vector<TProfile>& profiles, std::size_t extraBytes = 0) {
        const fs::path path = dir / "Padwright.pro";
        std::ofstream out(path, std::ios::binary);
        for (const TProfile& p : profiles)
            out.write(reinterpret_cast<const char*>(&p), sizeof p);
        out << std::string(extraBytes, '\0');
        return path;
    }

    fs::path dir;
};

} // namespace padwright::test
