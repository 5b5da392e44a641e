// Real controllers' HID report descriptors, created through /dev/uhid so that the kernel's own
// HID drivers make their evdev nodes, as seen by padwright-probe: one controller per device.
// Where the driver passes the HID usages straight through, what we show must be what
// DirectInput shows for the device (objects and the state of the recorded report); where a
// vendor driver remaps, or our layout rule differs, what we show is pinned here.
#include "HidDescription.h"
#include "Subprocess.h"
#include "UhidDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <thread>

namespace padwright::vm {
namespace {

struct Expected {
    const char* file;
    const char* shownName;   // the evdev name of the controller node
    const char* objects;     // what we show
    bool sameAsDirectInput;  // the driver passes usages through: objects and state as on Windows
    const char* directInput; // what the descriptor's usages give DirectInput
    const char* state;       // what we show for the file's input report where it differs
    const char* halfAxes;    // the axes resting at their minimum once that report is in
};

// The differences are explained beside the corpus table in docs/testing.md. The kernel holds 0 for
// an axis it has no report of: an axis of 0..N reads as resting at its minimum until its first
// report moves it (to near the centre: a stick); one that rests there reads 0 where DirectInput
// reads -10.
const Expected Corpus[] = {
    {"amazon-luna-usb.hid", "Amazon Game Controller", "X Y Z Rx Ry Rz, 1 POV, 12 buttons", true,
     "X Y Z Rx Ry Rz, 1 POV, 12 buttons", nullptr, "X Y Z Rx Ry Rz"},
    // X pushed to its maximum, Rz left at its minimum by the report.
    {"gp2040ce-dinput.hid", "Open Stick Community GP2040-CE (Generic)",
     "X Y Z Rz, 1 POV, 32 buttons", true, "X Y Z Rz, 1 POV, 32 buttons",
     "state x=10 y=0 z=0 rx=0 ry=0 rz=0 slider1=0 slider2=0 hat1=9000 hat2=c hat3=c hat4=c "
     "buttons=1,17",
     "X Rz"},
    // X pushed to its maximum, Y left at its minimum by the report.
    {"thrustmaster-tca-yoke-boeing.hid", "Thrustmaster TCA Yoke Boeing",
     "X Y Z Rx Ry Rz, 1 POV, 18 buttons", true, "X Y Z Rx Ry Rz, 1 POV, 18 buttons",
     "state x=10 y=0 z=0 rx=0 ry=0 rz=0 slider1=0 slider2=0 hat1=18000 hat2=c hat3=c hat4=c "
     "buttons=18",
     "X Y"},
    // Simulation Rudder and Throttle become the two sliders.
    {"saitek-ff0d.hid", "Saitek PLC Saitek gamepad", "X Y 2 Slider, 1 POV, 12 buttons", false,
     "X Y Rudder Throttle, 1 POV, 12 buttons", nullptr, "X Y Slider 1 Slider 2"},
    // X named four times: the kernel keeps the first field. The hat field has no usage.
    {"sega-astro-city-mini.hid", "6B Controller", "X Y, 0 POV, 10 buttons", false,
     "X X X X Y, 0 POV, 10 buttons", nullptr, "X Y"},
    // hid-sony: triggers on Z/Rz, right stick on Rx/Ry, the touchpad click on its own node,
    // buttons in BTN_SOUTH order (cross is button 1 here, button 2 on Windows).
    {"sony-ds4-usb.hid", "Sony Computer Entertainment Wireless Controller",
     "X Y Z Rx Ry Rz, 1 POV, 13 buttons", false, "X Y Z Rx Ry Rz, 1 POV, 14 buttons",
     "state x=0 y=0 z=0 rx=0 ry=0 rz=0 slider1=0 slider2=0 hat1=c hat2=c hat3=c hat4=c "
     "buttons=1",
     "Z Rz"},
    // hid-nintendo names it, reads the full reports and lays out its own sticks and buttons.
    {"nintendo-switch-pro.hid", "Nintendo Switch Pro Controller", "X Y Rx Ry, 1 POV, 14 buttons",
     false, "X Y Z Rz, 1 POV, 18 buttons", nullptr, ""},
    // Accelerator and Brake (simulation usages) become the two sliders.
    {"xbox-one-s-bt.hid", "Xbox Wireless Controller", "X Y Z Rz 2 Slider, 1 POV, 15 buttons", false,
     "X Y Z Rz Brake Accelerator, 1 POV, 15 buttons", nullptr, "X Y Z Rz Slider 1 Slider 2"},
};

// What every controller shows before its first report: nothing engaged.
constexpr const char* RestState = "state x=0 y=0 z=0 rx=0 ry=0 rz=0 slider1=0 slider2=0 hat1=c "
                                  "hat2=c hat3=c hat4=c buttons=";

struct Controller {
    std::string name;
    std::string objects;
    std::string halfAxes;  // the last half-axes line
    std::string restState; // the first watched state line
    std::string state;     // the last watched state line
};

// "objects X=1 Y=1 ... Slider=0 POV=1 Button=12" as "X Y Rz, 1 POV, 12 buttons".
std::string Summary(const std::string& objectsLine) {
    std::map<std::string, int> n;
    std::istringstream in(objectsLine.substr(8));
    std::string field;
    while (in >> field) {
        const auto eq = field.find('=');
        n[field.substr(0, eq)] = std::stoi(field.substr(eq + 1));
    }
    std::string out;
    for (const char* axis : {"X", "Y", "Z", "Rx", "Ry", "Rz"})
        if (n[axis] > 0)
            out += std::string(out.empty() ? "" : " ") + axis;
    if (n["Slider"] > 0)
        out += (out.empty() ? "" : " ") + std::to_string(n["Slider"]) + " Slider";
    return out + ", " + std::to_string(n["POV"]) + " POV, " + std::to_string(n["Button"]) +
           " buttons";
}

// "half axes: X rests at minimum, Slider 1 rests at minimum" from "X Slider 1".
std::string HalfAxesLine(const std::string& names) {
    static const std::regex name(R"((Slider \d|\w+))");
    std::string line = "half axes:";
    for (auto m = std::sregex_iterator(names.begin(), names.end(), name);
         m != std::sregex_iterator(); ++m)
        line += (line.back() == ':' ? " " : ", ") + m->str() + " rests at minimum";
    return line.back() == ':' ? line + " none" : line;
}

// The probe's controllers in discovery order: blocks of "Name:", "objects", ... lines, then
// "[i] state ..." and "[i] half axes: ..." lines while watching.
std::vector<Controller> Parse(const std::string& text) {
    std::vector<Controller> out;
    std::istringstream in(text);
    std::string line;
    static const std::regex nameLine(R"(^Name: (.*?) *-- ID: \d+$)");
    static const std::regex watched(R"(^\[(\d+)\] ((state|half axes:).*)$)");
    std::smatch m;
    while (std::getline(in, line)) {
        if (std::regex_match(line, m, nameLine)) {
            out.push_back({m[1], {}, {}, {}, {}});
        } else if (line.rfind("objects ", 0) == 0 && !out.empty()) {
            out.back().objects = Summary(line);
        } else if (line.rfind("half axes:", 0) == 0 && !out.empty()) {
            out.back().halfAxes = line;
        } else if (std::regex_match(line, m, watched) && std::stoul(m[1]) < out.size()) {
            Controller& c = out[std::stoul(m[1])];
            if (m[3] == "half axes:") {
                c.halfAxes = m[2];
                continue;
            }
            if (c.restState.empty())
                c.restState = m[2];
            c.state = m[2];
        }
    }
    return out;
}

TEST(HidCorpus, EachDeviceIsOneControllerShownAsDirectInputShowsIt) {
    std::vector<std::unique_ptr<UhidDevice>> devices;
    for (const Expected& e : Corpus)
        devices.push_back(std::make_unique<UhidDevice>(
            LoadHidFile(std::string(PADWRIGHT_HID_DIR) + "/" + e.file)));

    // Every driver has made its nodes when each device has one and nothing new came for a
    // while (a DualShock 4 adds motion-sensor and touchpad nodes after its pad node).
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    std::size_t lastTotal = 0;
    auto lastChange = std::chrono::steady_clock::now();
    for (;;) {
        std::size_t total = 0;
        bool all = true;
        for (const auto& d : devices) {
            total += d->Nodes().size();
            all = all && !d->Nodes().empty();
        }
        const auto now = std::chrono::steady_clock::now();
        if (total != lastTotal) {
            lastTotal = total;
            lastChange = now;
        }
        if ((all && now - lastChange > std::chrono::seconds(2)) || now > deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    for (const auto& d : devices)
        EXPECT_FALSE(d->Nodes().empty())
            << d->Description().file << " made no evdev node; the device said:\n"
            << d->Transcript();

    // Every controller is shown once before any report is sent: at rest. Then the reports go.
    Subprocess probe({PADWRIGHT_PROBE, "--watch"});
    const std::string lastIndex = "[" + std::to_string(std::size(Corpus) - 1) + "] state";
    ASSERT_TRUE(probe.WaitForOutput(
        [&](const std::string& out) { return out.find(lastIndex) != std::string::npos; },
        std::chrono::seconds(60)))
        << probe.Output();
    for (const auto& d : devices)
        d->SendInput();
    // A few rounds, so every controller's state line after its report has been printed.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    probe.Signal(SIGTERM);
    probe.Wait(std::chrono::seconds(10));
    const std::string text = probe.Output();
    std::printf("%s", text.c_str());

    const std::vector<Controller> controllers = Parse(text);
    EXPECT_EQ(controllers.size(), std::size(Corpus)) << "one controller per device\n" << text;
    for (std::size_t i = 0; i < std::size(Corpus); ++i) {
        const Expected& e = Corpus[i];
        const HidDescription& d = devices[i]->Description();
        const auto named =
            std::count_if(controllers.begin(), controllers.end(),
                          [&](const Controller& c) { return c.name == e.shownName; });
        const auto c = std::find_if(controllers.begin(), controllers.end(),
                                    [&](const Controller& c) { return c.name == e.shownName; });
        if (named != 1) {
            ADD_FAILURE() << e.file << ": " << named << " controllers named \"" << e.shownName
                          << "\"; the device said:\n"
                          << devices[i]->Transcript();
            continue;
        }
        std::printf("CORPUS %s | %s | %s | we show %s | DirectInput %s | %s\n", e.file, e.shownName,
                    d.driver.c_str(), c->objects.c_str(), e.directInput, c->halfAxes.c_str());
        EXPECT_EQ(c->objects, e.sameAsDirectInput ? e.directInput : e.objects) << e.file;
        EXPECT_EQ(c->restState, RestState) << e.file << " at rest";
        const std::string state = e.state != nullptr    ? e.state
                                  : e.sameAsDirectInput ? d.expectState
                                                        : "";
        if (!state.empty()) {
            EXPECT_EQ(c->state, state) << e.file;
        }
        EXPECT_EQ(c->halfAxes, HalfAxesLine(e.halfAxes)) << e.file;
    }
}

} // namespace
} // namespace padwright::vm
