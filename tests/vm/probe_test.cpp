// padwright-probe, the shipped tool, on real kernel devices: what it reports from /dev/input
// must be what it reports from the same descriptions as fixture files, GUIDs aside.
#include "KernelDevice.h"
#include "Subprocess.h"
#include "platform/dinput/EvemuParser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <regex>
#include <sstream>
#include <thread>

namespace padwright::vm {
namespace {

std::vector<std::string> Fixtures() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(PADWRIGHT_DEVICES_DIR))
        if (entry.path().extension() == ".evemu")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

struct Report {
    std::vector<std::string> blocks; // one per controller, without GUID, half-axes and state lines
    std::vector<std::string> halves; // the last half-axes line of each controller
    std::vector<std::string> states; // the last state line of each controller
};

// Splits the probe's text: blocks of "Name:", "GUID", ... lines; half-axes and state lines
// either inside a block or, when watching, as "[i] ..." lines after all blocks.
Report Parse(const std::string& text) {
    Report r;
    std::istringstream in(text);
    std::string line;
    static const std::regex watched(R"(^\[(\d+)\] ((state|half axes:) .*)$)");
    std::smatch m;
    while (std::getline(in, line)) {
        if (line.rfind("Name: ", 0) == 0) {
            r.blocks.emplace_back();
            r.halves.emplace_back();
            r.states.emplace_back();
        }
        if (std::regex_match(line, m, watched)) {
            const std::size_t i = std::stoul(m[1]);
            if (i < r.states.size())
                (m[3] == "state" ? r.states : r.halves)[i] = m[2];
        } else if (line.rfind("state ", 0) == 0 && !r.states.empty()) {
            r.states.back() = line;
        } else if (line.rfind("half axes: ", 0) == 0 && !r.halves.empty()) {
            r.halves.back() = line;
        } else if (!line.empty() && line.rfind("GUID ", 0) != 0 && !r.blocks.empty()) {
            r.blocks.back() += line + "\n";
        }
    }
    return r;
}

// The description files replay their events after the device is opened, so the live devices
// get theirs once the probe has them open: where an axis rests is told by the readings from
// the opening on.
TEST(Probe, ReportsRealDevicesAsItReportsTheirDescriptions) {
    const std::vector<std::string> files = Fixtures();
    ASSERT_FALSE(files.empty());
    std::vector<std::string> fixtureArgs{PADWRIGHT_PROBE};
    std::vector<std::unique_ptr<KernelDevice>> devices;
    std::vector<std::vector<EvdevEvent>> recorded;
    for (const std::string& f : files) {
        const EvemuDevice d = LoadEvemuFile(f);
        devices.push_back(std::make_unique<KernelDevice>(d.description));
        recorded.push_back(d.events);
        fixtureArgs.insert(fixtureArgs.end(), {"--fixture", f});
    }

    Subprocess fromFiles(fixtureArgs);
    ASSERT_EQ(fromFiles.Wait(std::chrono::seconds(60)), 0) << fromFiles.Output();
    const Report want = Parse(fromFiles.Output());
    ASSERT_FALSE(want.blocks.empty()) << fromFiles.Output();

    // Live devices show their state only when watched; every controller's state line is
    // printed once per round.
    Subprocess live({PADWRIGHT_PROBE, "--watch"});
    const std::string lastIndex = "[" + std::to_string(want.blocks.size() - 1) + "] state";
    ASSERT_TRUE(live.WaitForOutput(
        [&](const std::string& out) { return out.find(lastIndex) != std::string::npos; },
        std::chrono::seconds(60)))
        << live.Output();
    for (std::size_t i = 0; i < devices.size(); ++i)
        devices[i]->Write(recorded[i]);
    // A few rounds, so every controller's state after its events has been printed.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    live.Signal(SIGTERM);
    EXPECT_EQ(live.Wait(std::chrono::seconds(10)), 0) << "the probe must end cleanly on SIGTERM";
    const Report got = Parse(live.Output());

    EXPECT_EQ(got.blocks, want.blocks);
    EXPECT_EQ(got.halves, want.halves);
    EXPECT_EQ(got.states, want.states);
}

// A controller node this user may not read is named with its path and the ways to be given
// access, not only with DirectInput's error text.
TEST(Probe, TellsAUserWhoMayNotReadANodeHowToGetAccess) {
    const EvemuDevice d =
        LoadEvemuFile(std::string(PADWRIGHT_DEVICES_DIR) + "/pedal-box-gas-brake.evemu");
    KernelDevice pedals(d.description); // root's alone, as devtmpfs makes it
    constexpr uid_t Nobody = 65534;
    Subprocess probe({PADWRIGHT_PROBE}, {}, {}, Nobody);
    EXPECT_EQ(probe.Wait(std::chrono::seconds(60)), 0) << probe.Output();
    const std::string& out = probe.Output();
    EXPECT_NE(out.find(pedals.Node() + " (Padwright Test Pedals) is a game controller this user "
                                       "may not read."),
              std::string::npos)
        << out;
    for (const char* way : {"\"uaccess\"", "TAG+=\"uaccess\"", "\"input\" group"})
        EXPECT_NE(out.find(way), std::string::npos) << way << " missing from:\n" << out;
}

} // namespace
} // namespace padwright::vm
