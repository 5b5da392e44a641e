#include "input/DiLog.h"

#include "engine/Errors.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace padwright {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class DiLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("padwright-log-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        path = dir / "Padwright.log";
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }
    fs::path dir, path;
};

TEST_F(DiLogTest, OffWritesNothingAndLeavesAnExistingLogAlone) {
    std::ofstream(path) << "old";
    DiLog log;
    EXPECT_FALSE(log.LogEnabled());
    log.LogDirectInputError("Failed to poll device: ", DIERR_INPUTLOST);
    log.Close();
    EXPECT_EQ(ReadFile(path), "old");
}

TEST_F(DiLogTest, LinesArePrefixAndTextEndedByCrLfAndOpeningEmptiesTheFile) {
    std::ofstream(path) << "stale content of an earlier run\r\n";
    DiLog log;
    log.Open(path.string());
    EXPECT_TRUE(log.LogEnabled());
    EXPECT_EQ(fs::file_size(path), 0u);
    log.LogDirectInputError("Failed to create device: ", DIERR_DEVICENOTREG);
    log.LogDirectInputError("Failed to poll device: ", 5);
    log.Close();
    EXPECT_FALSE(log.LogEnabled());
    EXPECT_EQ(ReadFile(path),
              "Failed to create device: The device or device instance is not registered with "
              "DirectInput. This value is equal to the REGDB_E_CLASSNOTREG standard COM return "
              "value.\r\nFailed to poll device: Unknown Error\r\n");
}

// Read by another program while the log stays open, as a user looking for a missing pad does.
TEST_F(DiLogTest, EachLineIsInTheFileAsSoonAsItIsWritten) {
    DiLog log;
    log.Open(path.string());
    const std::string line =
        "Failed to poll device: Access to the input device has been lost. It must be "
        "reacquired.\r\n";
    log.LogDirectInputError("Failed to poll device: ", DIERR_INPUTLOST);
    EXPECT_EQ(ReadFile(path), line);
    log.LogDirectInputError("Failed to poll device: ", DIERR_INPUTLOST);
    EXPECT_EQ(ReadFile(path), line + line);
    EXPECT_TRUE(log.LogEnabled());
}

TEST_F(DiLogTest, SwitchingOffAndOnAgainEmptiesTheLog) {
    DiLog log;
    log.Open(path.string());
    log.LogDirectInputError("Failed to acquire device: ", DIERR_UNPLUGGED);
    log.Close();
    EXPECT_GT(fs::file_size(path), 0u);
    log.Open(path.string());
    log.Close();
    EXPECT_EQ(fs::file_size(path), 0u);
}

TEST_F(DiLogTest, TheDestructorWritesOutWhatIsBuffered) {
    {
        DiLog log;
        log.Open(path.string());
        log.LogDirectInputError("Failed to set coop level: ", DIERR_INVALIDPARAM);
    }
    EXPECT_EQ(ReadFile(path).substr(0, 26), "Failed to set coop level: ");
}

TEST_F(DiLogTest, OthersMayReadTheOpenLogButASecondWriterIsRefused) {
    const mode_t oldMask = ::umask(022);
    DiLog first;
    first.Open(path.string());
    ::umask(oldMask);
    first.LogDirectInputError("Failed to poll device: ", DIERR_INPUTLOST);
    // Readable by every user the folder lets in, and a reader opened now sees the lines once
    // they are out.
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0644));
    const int reader = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(reader, 0) << std::strerror(errno);

    DiLog second;
    EXPECT_THROW(second.Open(path.string()), Error);
    EXPECT_FALSE(second.LogEnabled());
    first.Close();
    char line[23] = {};
    EXPECT_EQ(::read(reader, line, sizeof line), ssize_t(sizeof line));
    EXPECT_EQ(std::string(line, sizeof line), "Failed to poll device: ");
    ::close(reader);
    EXPECT_FALSE(ReadFile(path).empty()) << "the refused opener must not have emptied the log";
}

TEST_F(DiLogTest, ALogThatCannotBeCreatedThrowsAndLoggingStaysOff) {
    DiLog log;
    const fs::path fifo = dir / "fifo.log"; // would wait for a reader for ever
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ::alarm(30);
    for (const fs::path& bad : {dir / "missing" / "Padwright.log", dir, fifo}) {
        try {
            log.Open(bad.string());
            FAIL() << "opened " << bad;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(bad.string()), std::string::npos) << e.what();
        }
        EXPECT_FALSE(log.LogEnabled());
        log.LogDirectInputError("Failed to poll device: ", DIERR_INPUTLOST); // no-op, no throw
        EXPECT_NO_THROW(log.Close());
    }
    ::alarm(0);
    EXPECT_TRUE(fs::is_fifo(fifo));
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK); // a writer may open it now
    try {
        log.Open(fifo.string());
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "File access denied: " + fifo.string());
    }
    ::close(reader);
    EXPECT_FALSE(log.LogEnabled());
    EXPECT_THROW(log.Open((dir / "missing" / "x.log").string()), Error);
    try {
        log.Open((dir / "missing" / "x.log").string());
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "File not found: " + (dir / "missing" / "x.log").string());
    }
}

// The directory is read-only for the user the program runs as. Tests run as root, who may
// write anywhere, so the attempt is made from a child that gives root up first.
TEST_F(DiLogTest, AReadOnlyDirectoryRefusesTheLogWithAccessDenied) {
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                             fs::perms::group_exec | fs::perms::others_read |
                             fs::perms::others_exec);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && ::setresgid(65534, 65534, 65534) != 0)
            ::_exit(10);
        if (::geteuid() == 0 && ::setresuid(65534, 65534, 65534) != 0)
            ::_exit(10);
        DiLog log;
        try {
            log.Open(path.string());
        } catch (const Error& e) {
            const bool right = std::string(e.what()) == "File access denied: " + path.string();
            ::_exit(!log.LogEnabled() && right ? 0 : 12);
        }
        ::_exit(11);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10: could not drop privileges, 11: opened, 12: wrong "
                                         "error or logging left on";
    EXPECT_FALSE(fs::exists(path));
}

TEST(DiLogDiskFull, ALineThatCannotBeWrittenThrowsOnceThenLoggingIsOff) {
    DiLog log;
    log.Open("/dev/full");
    int thrown = 0;
    for (int i = 0; i < 200; ++i) {
        try {
            log.LogDirectInputError("Failed to obtain the device state: ", DIERR_INPUTLOST);
        } catch (const Error& e) {
            ++thrown;
            EXPECT_EQ(std::string(e.what()), "Disk full: /dev/full");
            EXPECT_FALSE(log.LogEnabled());
        }
    }
    EXPECT_EQ(thrown, 1);
    EXPECT_NO_THROW(log.Close());
}

} // namespace
} // namespace padwright
