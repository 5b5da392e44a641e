#pragma once
#include "engine/Records.h"
#include "store/MessageBoxes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace padwright::test {

namespace fs = std::filesystem;

inline std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), std::streamsize(bytes.size()));
}

// Byte strings compared without printing them whole.
inline ::testing::AssertionResult SameBytes(const std::string& actual,
                                            const std::string& expected) {
    if (actual == expected)
        return ::testing::AssertionSuccess();
    std::size_t i = 0;
    while (i < actual.size() && i < expected.size() && actual[i] == expected[i])
        ++i;
    return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                         << ", first difference at byte " << i;
}

inline std::string Bytes(const TProfile& profile) {
    return std::string(reinterpret_cast<const char*>(&profile), sizeof profile);
}

// Every byte random, run-time fields, padding and stale name bytes included.
inline TProfile RandomProfile(unsigned seed) {
    std::mt19937 random(seed);
    TProfile profile;
    auto* bytes = reinterpret_cast<unsigned char*>(&profile);
    for (std::size_t i = 0; i < sizeof profile; ++i)
        bytes[i] = static_cast<unsigned char>(random());
    return profile;
}

struct RecordingBoxes : IMessageBoxes {
    std::vector<std::pair<std::string, std::string>> shown; // text, title
    void Warning(std::string_view text, std::string_view title) override {
        shown.emplace_back(text, title);
    }
    void Error(std::string_view text) override { Warning(text, "Padwright"); }
};

// Runs `body` in a child process without root's privileges: as nobody when the test runs as
// root, else as the user running it. Returns the status `body` returned, 100 when privileges
// could not be dropped, 101 when `body` threw.
inline int InUnprivilegedChild(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(65534, 65534, 65534) != 0 ||
             ::setresuid(65534, 65534, 65534) != 0))
            ::_exit(100);
        int status = 101;
        try {
            status = body();
        } catch (...) {
        }
        ::_exit(status);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A fresh folder that is also the working directory while the test runs.
class InTempDir : public ::testing::Test {
protected:
    void SetUp() override {
        old = fs::current_path();
        dir = fs::temp_directory_path() /
              ("padwright-store-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        fs::current_path(dir);
        ::setenv("XDG_DATA_HOME", (dir / "data-home").c_str(), 1); // never the user's own
    }
    void TearDown() override {
        fs::current_path(old);
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }
    fs::path old, dir;
};

} // namespace padwright::test
