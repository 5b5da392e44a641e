#pragma once
#include "engine/Records.h"
#include "store/MessageBoxes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#include <winioctl.h>
#endif

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

// Gives `path` (which exists) `size` bytes, none of them written: a sparse file, which costs no
// disk space however large. On Windows a file must be marked sparse first, and the runtime's
// resize stops at 2 GiB.
inline void ResizeSparse(const fs::path& path, std::int64_t size) {
#ifdef _WIN32
    const ::HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ::DWORD returned = 0;
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = size;
    const bool resized =
        DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr) &&
        SetFileInformationByHandle(file, FileEndOfFileInfo, &end, sizeof end);
    CloseHandle(file);
    ASSERT_TRUE(resized) << "error " << GetLastError();
#else
    fs::resize_file(path, static_cast<std::uintmax_t>(size));
#endif
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

// Where DataFolder() makes its folder, so that no test touches the user's own.
inline void SetDataHome(const fs::path& folder) {
#ifdef _WIN32
    _wputenv_s(L"LOCALAPPDATA", folder.c_str());
#else
    ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
#endif
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
        SetDataHome(dir / "data-home");
    }
    void TearDown() override {
        fs::current_path(old);
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }
    fs::path old, dir;
};

} // namespace padwright::test
