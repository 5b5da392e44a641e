// Single-profile files where only POSIX systems go: FIFOs, sockets and device nodes. The Windows
// build leaves it out.
#include "store/ProfileFiles.h"

#include "ProfileStoreRig.h"
#include "engine/Errors.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>

namespace padwright {
namespace {

using namespace test;

// A FIFO neither waits for a peer nor is replaced.
TEST_F(ProfileFilesTest, FifosAndSocketsAreRefusedWithTheirReason) {
    ASSERT_EQ(::mkfifo("pipe.pro", 0666), 0);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{AF_UNIX, "socket.pro"};
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(listener);
    ExpectRefusedEverywhere("pipe.pro", "File access denied: pipe.pro");
    ExpectRefusedEverywhere("socket.pro", "File access denied: socket.pro");
    EXPECT_TRUE(fs::is_fifo("pipe.pro"));
    EXPECT_TRUE(fs::is_socket("socket.pro"));
}

TEST_F(ProfileFilesTest, ADeviceIsWrittenDirectlyNeverReplaced) {
    // A private copy of /dev/full, so that a fault here cannot destroy the machine's own.
    if (::mknod("full", S_IFCHR | 0666, ::makedev(1, 7)) != 0)
        GTEST_SKIP() << "cannot make a device node here";
    try {
        ExportProfile(profiles[0], "full", StoreFileName, boxes);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Disk full: full");
    }
    EXPECT_TRUE(fs::is_character_file("full")) << "the device was replaced";
}

} // namespace
} // namespace padwright
