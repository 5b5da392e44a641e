// padwright-probe run as a user runs it, with fixture devices.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// Test cases run as separate processes side by side, and other checkouts run theirs in the same
// temporary folder, so every file a case writes carries its process id.
std::string TempFile(const std::string& name) {
    return ::testing::TempDir() + std::to_string(getpid()) + "-" + name;
}

struct ProbeRun {
    std::string out;
    int status;
};

// Runs the probe with `args`; standard error is folded into the output after "--stderr--".
ProbeRun Probe(const std::string& args) {
    const std::string errFile = TempFile("probe-stderr.txt");
    const std::string command = std::string(PROBE_BINARY) + " " + args + " 2>" + errFile;
    FILE* pipe = popen(command.c_str(), "r");
    ProbeRun run;
    std::array<char, 4096> buffer;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        run.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errFile);
    run.out += "--stderr--\n" + std::string(std::istreambuf_iterator<char>(err), {});
    std::remove(errFile.c_str());
    return run;
}

std::string Device(const char* name) {
    return std::string("--fixture ") + PADWRIGHT_DEVICES_DIR + "/" + name;
}

// Described before its first report, the wheel held 0, its minimum; the first report turned it
// far to the right, so it is taken for a pedal resting there, and reads 4 at 492 of 0..1023.
TEST(ProbeToolTest, PrintsTheBlockAndTheReplayedState) {
    const ProbeRun run = Probe(Device("logitech-momo-racing.evemu"));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Name: Logitech  Logitech MOMO Racing  -- ID: 0\n"
                       "GUID {2BFEE0A2-302A-894B-B337-F686ADE3FB60}\n"
                       "objects X=1 Y=1 Z=0 Rx=0 Ry=0 Rz=0 Slider=0 POV=0 Button=10\n"
                       "povmax 0 0 0 0\n"
                       "names X Axis|Y Axis|Button: Button 0|Button: Button 1|Button: Button 2|"
                       "Button: Button 3|Button: Button 4|Button: Button 5|Button: Button 6|"
                       "Button: Button 7|Button: Button 8|Button: Button 9\n"
                       "unused: none\n"
                       "half axes: X rests at minimum\n"
                       "state x=4 y=0 z=0 rx=0 ry=0 rz=0 slider1=0 slider2=0 hat1=c hat2=c "
                       "hat3=c hat4=c buttons=\n"
                       "--stderr--\n");
}

TEST(ProbeToolTest, SeveralFixturesRangeAndDeadZone) {
    const ProbeRun run =
        Probe(Device("ds4-bt-touchpad.evemu") + " " + Device("logitech-g29-wheel.evemu") + " " +
              Device("usb-gamepad-0079-0011.evemu") + " --maxval 100 --deadzone 0");
    EXPECT_EQ(run.status, 0);
    // The touchpad is no controller; the wheel is ID 0 and the pad ID 1.
    EXPECT_NE(run.out.find("Name: Logitech G29 Driving Force Racing Wheel -- ID: 0\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("objects X=1 Y=1 Z=1 Rx=0 Ry=0 Rz=1 Slider=0 POV=1 Button=25\n"
                           "povmax 7 0 0 0\n"
                           "names X Axis|Y Axis|Z Axis|Z Rotation|Hat Switch|Button: Button 0|"),
              std::string::npos);
    // Wheel turned to 7664 of 0..65535, the other two pedals resting at their maximum; the gas
    // pedal's first move lands near the middle (143 of 0..255), so it reads as a stick, at 251.
    EXPECT_NE(run.out.find("unused: none\nhalf axes: Y rests at maximum, Rz rests at maximum\n"
                           "state x=-77 y=0 z=97 rx=0 ry=0 rz=0 slider1=0 slider2=0 "
                           "hat1=c hat2=c hat3=c hat4=c buttons=\n\nName: USB Gamepad  -- ID: 1\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("state x=0 y=100 "), std::string::npos);
}

// A pressure pair and a lone code on HAT codes, a simulation axis with no axis left, the
// buttons past 128 and a key below BTN_MISC: each is named, so a user sees why it does nothing.
TEST(ProbeToolTest, CodesThatBecameNoObjectAreNamed) {
    const ProbeRun run = Probe(Device("wide-hat-leftovers-pad.evemu"));
    EXPECT_NE(run.out.find("\nunused: ABS_GAS ABS_HAT1X ABS_HAT1Y ABS_HAT2X KEY_HOME 0x2fc 0x2fd "
                           "0x2fe 0x2ff\nhalf axes: "),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("POV=1 Button=128\npovmax 7 0 0 0\n"), std::string::npos);
    EXPECT_NE(run.out.find(" hat1=22500 hat2=c "), std::string::npos);
}

TEST(ProbeToolTest, UnreadableDescriptionNamesFileAndLine) {
    const std::string path = TempFile("broken.evemu");
    std::ofstream(path) << "# EVEMU 1.3\nN: Broken\nI: 0003 046d zzzz 0111\n";
    const ProbeRun run = Probe(Device("usb-gamepad-0079-0011.evemu") + " --fixture " + path);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "--stderr--\npadwright-probe: " + path +
                           ":3: I: value \"zzzz\" is not a hexadecimal number\n");

    const ProbeRun missing = Probe("--fixture /nonexistent/pad.evemu");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.out.find("/nonexistent/pad.evemu: cannot be opened"), std::string::npos);
}

TEST(ProbeToolTest, ButtonsDownAreListedOneBased) {
    const std::string path = TempFile("pressed.evemu");
    std::ifstream in(std::string(PADWRIGHT_DEVICES_DIR) + "/usb-gamepad-0079-0011.evemu");
    std::ofstream out(path);
    out << in.rdbuf() << "E: 1.000000 0001 0120 0001\nE: 1.000000 0001 0129 0001\n"
        << "E: 1.000000 0000 0000 0000\n";
    out.close();
    const ProbeRun run = Probe("--fixture " + path);
    EXPECT_NE(run.out.find(" buttons=1,10\n"), std::string::npos) << run.out;
}

TEST(ProbeToolTest, WrongUsageExitsWithTwo) {
    for (const char* args :
         {"--maxval 0", "--deadzone 101", "--maxval x", "--bogus", "--watch --fixture x.evemu"}) {
        const ProbeRun run = Probe(args);
        EXPECT_EQ(run.status, 2) << args;
    }
}

} // namespace
