// The log's cases that need POSIX: permissions, FIFOs, users and a full device.
#include "LogFolder.h"
#include "engine/Errors.h"
#include "input/DiLog.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace padwright {
namespace {

using testing::DiLogTest;
namespace fs = std::filesystem;

TEST_F(DiLogTest, TheOpenLogIsReadableByEveryUserTheFolderLetsIn) {
    const mode_t oldMask = ::umask(022);
    DiLog log;
    log.Open(path.string());
    ::umask(oldMask);
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0644));
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
