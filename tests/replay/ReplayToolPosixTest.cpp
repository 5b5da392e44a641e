// padwright-replay where only POSIX systems go: a log on a device that is full. The Windows build
// leaves it out.
#include "ReplayToolRig.h"

namespace padwright {
namespace {

using namespace test;

TEST_F(ReplayTool, ALogOnAFullDiskIsReportedOnceAndTheSessionGoesOn) {
    std::string script = "profile P\nprofile Q\nmap 1 48 VOLUME_UP\n"
                         "controller profile=2 buttons=1\n"
                         "controller profile=1 buttons=1\nfail 1 state 80070005\n"
                         "set 2 buttons=1\ncycle 200\n";
    const Result r = Run(script, {"--log", "/dev/full"});
    EXPECT_EQ(r.exitCode, 1);
    // Logging fails in the run whose line fills the buffer; that run ends before the second
    // controller is read, all others go on.
    EXPECT_EQ(r.out, "WM_APPCOMMAND lparam=0x000a0000\n");
    EXPECT_NE(r.err.find("line 8: Disk full: /dev/full"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("Disk full", r.err.find("Disk full") + 1), std::string::npos) << r.err;
}

} // namespace
} // namespace padwright
