// The shipped program end to end on a real kernel: a remembered gamepad made through uinput,
// the real padwright binary reading it through evdev and injecting through its own uinput
// device, which the test reads back. Also measures, under emulation, how long a button takes
// to become a key and how much CPU reading costs.
#include "EventNode.h"
#include "KernelDevice.h"
#include "Subprocess.h"
#include "engine/Catalogue.h"
#include "engine/Records.h"
#include "platform/dinput/EvemuParser.h"
#include "platform/dinput/InstanceGuid.h"
#include "store/ProfileStore.h"
#include "store/Registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace padwright::vm {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr const char* VirtualDevice = "Padwright virtual input";
// Qt's start-up alone takes seconds under software emulation.
constexpr auto StartLimit = 60s;
constexpr auto ReactLimit = 10s;

EvdevDescription Pad() {
    return LoadEvemuFile(std::string(PADWRIGHT_DEVICES_DIR) + "/xbox360-pad-xpad-ayaneo-air.evemu")
        .description;
}

std::vector<EvdevEvent> Frame(std::uint16_t type, std::uint16_t code, std::int32_t value) {
    return {{type, code, value}, {EV_SYN, SYN_REPORT, 0}};
}

class FailOnBox : public IMessageBoxes {
public:
    void Warning(std::string_view text, std::string_view title) override {
        ADD_FAILURE() << "message box while writing the store: " << title << ": " << text;
    }
    void Error(std::string_view text) override { Warning(text, "Padwright"); }
};

// Button 0 gives Ctrl+A, the first stick moves the pointer.
TProfile GuestProfile() {
    TProfile p;
    std::memset(&p, 0, sizeof p);
    p.Name = "Guest";
    TControlMapping& button = p.Mappings[ButtonSlot(0)];
    AssignFunction(button, "VK_A");
    button.Ctrl = 1;
    AssignFunction(p.Mappings[AxisSlot(0, false)], "MOUSE_MOVE_X_NEG");
    AssignFunction(p.Mappings[AxisSlot(0, true)], "MOUSE_MOVE_X_POS");
    AssignFunction(p.Mappings[AxisSlot(1, false)], "MOUSE_MOVE_Y_NEG");
    AssignFunction(p.Mappings[AxisSlot(1, true)], "MOUSE_MOVE_Y_POS");
    return p;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// A fresh user for one run of the program: working folder (profile store, log), config folder
// (settings), runtime folder (single-instance lock).
class ProgramHome {
public:
    explicit ProgramHome(const std::string& name) : root_("/root/" + name) {
        fs::remove_all(root_);
        for (const char* sub : {"work", "config", "runtime"})
            fs::create_directories(root_ + "/" + sub);
        fs::permissions(Runtime(), fs::perms::owner_all);
    }
    std::string Work() const { return root_ + "/work"; }
    std::string Runtime() const { return root_ + "/runtime"; }
    std::string Settings() const { return root_ + "/config/Vemoskar/Padwright.conf"; }
    std::string Store() const { return Work() + "/Padwright.pro"; }
    std::string Log() const { return Work() + "/Padwright.log"; }
    std::string Lock() const { return Runtime() + "/Padwright.lock"; }

    void WriteStore() {
        StableList<TProfile> profiles;
        profiles.push_back(GuestProfile());
        FailOnBox boxes;
        ProfileStore(boxes, Store()).Save(profiles);
    }

    struct Controller {
        std::string name;
        std::uint32_t id;
        bool repeatKeys;
        std::string guid = "{0BADF00D-0000-0000-0000-000000000000}";
    };
    // The stored GUID is stale unless given: start-up must find the pad by name and ID.
    void WriteSettings(std::uint32_t interval, const std::vector<Controller>& controllers,
                       bool startMinimized = true) {
        Registry registry(Settings());
        RegistryKey root = registry.Root();
        root.WriteSigned("MaxJoysticks", 4);
        root.WriteDword("TimeInterval", interval);
        root.WriteDword("StartMinimized", startMinimized ? 1 : 0);
        root.WriteDword("LogFile", 1);
        for (std::size_t i = 0; i < controllers.size(); ++i) {
            RegistryKey key = registry.CreateSubkey("Joystick" + std::to_string(i));
            key.WriteString("Name", controllers[i].name);
            key.WriteString("GUID", controllers[i].guid);
            key.WriteDword("ID", controllers[i].id);
            key.WriteSigned("DeadZone", 10);
            key.WriteSigned("MaxVal", 10);
            key.WriteSigned("Threshold", 5);
            key.WriteDword("RepeatKeys", controllers[i].repeatKeys ? 1 : 0);
            key.WriteSigned("Profile", 1);
        }
        registry.Flush();
    }

    // `program`: the shipped one, or its build that polls at rest.
    std::unique_ptr<Subprocess> Start(uid_t user = 0,
                                      const char* program = PADWRIGHT_PROGRAM) const {
        const std::vector<std::string> env{"QT_QPA_PLATFORM=offscreen",
                                           "XDG_CONFIG_HOME=" + root_ + "/config",
                                           "XDG_RUNTIME_DIR=" + Runtime(), "HOME=" + root_};
        return std::make_unique<Subprocess>(std::vector<std::string>{program}, Work(), env, user);
    }

    // Hands every file of this home to `user`.
    void Own(uid_t user) const {
        EXPECT_EQ(chown(root_.c_str(), user, user), 0);
        for (const auto& entry : fs::recursive_directory_iterator(root_))
            EXPECT_EQ(chown(entry.path().c_str(), user, user), 0) << entry.path();
    }

private:
    std::string root_;
};

// The program's own virtual device, read from the moment it appears.
std::unique_ptr<EventNode> VirtualInput(Subprocess& program) {
    const std::string node = NodeNamed(VirtualDevice, StartLimit);
    EXPECT_FALSE(node.empty()) << "the program made no \"" << VirtualDevice << "\"; it said:\n"
                               << program.Output();
    return node.empty() ? nullptr : std::make_unique<EventNode>(node);
}

std::vector<Ev> Keys(const std::vector<Ev>& events) {
    std::vector<Ev> keys;
    std::copy_if(events.begin(), events.end(), std::back_inserter(keys),
                 [](const Ev& e) { return e.type == EV_KEY; });
    return keys;
}

auto Is(std::uint16_t type, std::uint16_t code, std::int32_t value) {
    return [=](const Ev& e) { return e.type == type && e.code == code && e.value == value; };
}

bool LogHasLine(const std::string& path, const std::string& start) {
    std::istringstream lines(ReadAll(path));
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(start, 0) == 0)
            return true;
    return false;
}

TEST(Program, ButtonAndStickBecomeCtrlAAndPointerMoves) {
    KernelDevice pad(Pad());
    ProgramHome home("drive");
    home.WriteStore();
    home.WriteSettings(5, {{Pad().name, 0, false}});
    const std::string settings = ReadAll(home.Settings()), store = ReadAll(home.Store());

    auto program = home.Start();
    auto input = VirtualInput(*program);
    ASSERT_TRUE(input);

    pad.Write(Frame(EV_KEY, BTN_SOUTH, 1));
    std::vector<Ev> seen;
    ASSERT_TRUE(input->WaitFor(Is(EV_KEY, KEY_LEFTCTRL, 0), StartLimit, &seen))
        << "no Ctrl+A for button 0; the program said:\n"
        << program->Output();
    EXPECT_EQ(Keys(seen), (std::vector<Ev>{{EV_KEY, KEY_LEFTCTRL, 1},
                                           {EV_KEY, KEY_A, 1},
                                           {EV_KEY, KEY_A, 0},
                                           {EV_KEY, KEY_LEFTCTRL, 0}}));
    pad.Write(Frame(EV_KEY, BTN_SOUTH, 0));

    // Full deflection gives MaxVal units per cycle for as long as it lasts.
    std::vector<Ev> after;
    pad.Write(Frame(EV_ABS, ABS_X, 32767));
    ASSERT_TRUE(input->WaitFor(Is(EV_REL, REL_X, 10), ReactLimit, &after));
    ASSERT_TRUE(input->WaitFor(Is(EV_REL, REL_X, 10), ReactLimit, &after)) << "the move goes on";
    pad.Write(Frame(EV_ABS, ABS_X, 0));
    pad.Write(Frame(EV_ABS, ABS_Y, -32768));
    ASSERT_TRUE(input->WaitFor(Is(EV_REL, REL_Y, -10), ReactLimit, &after));
    pad.Write(Frame(EV_ABS, ABS_Y, 0));
    std::this_thread::sleep_for(500ms);
    for (const Ev& e : input->Drain())
        after.push_back(e);
    EXPECT_EQ(Keys(after), std::vector<Ev>{}) << "letting go of the button must emit nothing";
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(input->Drain(), std::vector<Ev>{}) << "a centred stick must not move the pointer";

    program->Signal(SIGTERM);
    EXPECT_EQ(program->Wait(30s), 0) << program->Output();
    EXPECT_FALSE(fs::exists(home.Lock())) << "the single-instance lock must go with the program";
    EXPECT_EQ(ReadAll(home.Settings()), settings) << "closing must save nothing";
    EXPECT_EQ(ReadAll(home.Store()), store) << "closing must save nothing";
}

TEST(Program, UnpluggedWhileHeldReleasesTheKeysAndLogsAndASecondStartEndsAtOnce) {
    auto pad = std::make_unique<KernelDevice>(Pad());
    ProgramHome home("unplug");
    home.WriteStore();
    home.WriteSettings(5, {{Pad().name, 0, true}});

    auto program = home.Start();
    auto input = VirtualInput(*program);
    ASSERT_TRUE(input);
    // "Auto-repeat all keys" holds Ctrl and A down for as long as the button is.
    pad->Write(Frame(EV_KEY, BTN_SOUTH, 1));
    ASSERT_TRUE(input->WaitFor(Is(EV_KEY, KEY_A, 1), StartLimit)) << program->Output();
    EXPECT_TRUE(input->KeyDown(KEY_LEFTCTRL));

    pad.reset();
    EXPECT_TRUE(input->WaitFor(Is(EV_KEY, KEY_A, 0), ReactLimit))
        << "A stays down after the pad is gone";
    std::this_thread::sleep_for(200ms);
    input->Drain();
    EXPECT_FALSE(input->KeyDown(KEY_A));
    EXPECT_FALSE(input->KeyDown(KEY_LEFTCTRL));

    auto second = home.Start();
    EXPECT_EQ(second->Wait(StartLimit), 0) << "a second instance must end at once, silently";
    EXPECT_EQ(second->Output(), "");
    EXPECT_TRUE(fs::exists(home.Lock())) << "the second start must leave the first one's lock";

    program->Signal(SIGTERM);
    EXPECT_EQ(program->Wait(30s), 0) << program->Output();
    EXPECT_FALSE(fs::exists(home.Lock()));
    // The log reaches the disk when its buffer fills and when the program closes it.
    EXPECT_TRUE(LogHasLine(home.Log(), "Failed to poll device: ")) << ReadAll(home.Log());
}

// The GUID a uinput device made from `d` gets: it has neither serial nor port.
std::string UinputGuid(EvdevDescription d) {
    d.uniq.clear();
    d.phys.clear();
    return GuidToString(InstanceGuid(d));
}

// The pad is destroyed and made again with the same ids while the program runs; a button held
// from the moment it is back is typed with nothing done in the program. Then a second pad,
// remembered but absent at start-up, is found and read once it is plugged in.
TEST(Program, ReplugResumesTypingAndASecondPadIsPickedUp) {
    const EvdevDescription second =
        LoadEvemuFile(std::string(PADWRIGHT_DEVICES_DIR) + "/usb-gamepad-0079-0011.evemu")
            .description;
    auto pad = std::make_unique<KernelDevice>(Pad());
    ProgramHome home("replug");
    home.WriteStore();
    home.WriteSettings(5, {{Pad().name, 0, false}, {second.name, 1, false, UinputGuid(second)}});
    auto program = home.Start();
    auto input = VirtualInput(*program);
    ASSERT_TRUE(input);
    pad->Write(Frame(EV_KEY, BTN_SOUTH, 1));
    ASSERT_TRUE(input->WaitFor(Is(EV_KEY, KEY_LEFTCTRL, 0), StartLimit)) << program->Output();
    pad->Write(Frame(EV_KEY, BTN_SOUTH, 0));

    pad.reset();
    std::this_thread::sleep_for(1s); // the cycle finds it gone and stops reading
    input->Drain();
    const auto back = std::chrono::steady_clock::now();
    pad = std::make_unique<KernelDevice>(Pad());
    pad->Write(Frame(EV_KEY, BTN_SOUTH, 1));
    std::chrono::steady_clock::time_point typed;
    std::vector<Ev> seen;
    ASSERT_TRUE(input->WaitFor(Is(EV_KEY, KEY_A, 1), StartLimit, &seen, &typed))
        << "typing did not resume after the replug; the program said:\n"
        << program->Output();
    EXPECT_EQ(Keys(seen), (std::vector<Ev>{{EV_KEY, KEY_LEFTCTRL, 1}, {EV_KEY, KEY_A, 1}}));
    std::printf("FIGURE (emulated) replug to first key: %.0f ms\n",
                std::chrono::duration<double, std::milli>(typed - back).count());
    pad->Write(Frame(EV_KEY, BTN_SOUTH, 0));

    KernelDevice other(second);
    other.Write(Frame(EV_KEY, BTN_TRIGGER, 1));
    EXPECT_TRUE(input->WaitFor(Is(EV_KEY, KEY_A, 1), StartLimit))
        << "the second pad was not picked up; the program said:\n"
        << program->Output();
    program->Signal(SIGTERM);
    EXPECT_EQ(program->Wait(30s), 0) << program->Output();
}

// Pad B tapped every 40 ms (20 ms down, 20 ms up) while pad A is unplugged and plugged in
// again: following the plugging must not keep B from being read, so every tap is typed, also
// when a check after plugging keeps the reading thread busy for longer than a tap.
TEST(Program, ReplugOfOnePadLosesNoTapOfAnother) {
    const EvdevDescription second =
        LoadEvemuFile(std::string(PADWRIGHT_DEVICES_DIR) + "/ds4-bt-gamepad.evemu").description;
    auto a = std::make_unique<KernelDevice>(Pad());
    KernelDevice b(second);
    ProgramHome home("taps");
    home.WriteStore();
    home.WriteSettings(5, {{Pad().name, 0, false}, {second.name, 1, false, UinputGuid(second)}});
    auto program = home.Start();
    auto input = VirtualInput(*program);
    ASSERT_TRUE(input);
    for (KernelDevice* pad : {a.get(), &b}) {
        pad->Write(Frame(EV_KEY, BTN_SOUTH, 1));
        ASSERT_TRUE(input->WaitFor(Is(EV_KEY, KEY_LEFTCTRL, 0), StartLimit))
            << (pad == &b ? "B" : "A") << " is not read; the program said:\n"
            << program->Output();
        pad->Write(Frame(EV_KEY, BTN_SOUTH, 0));
        // They share the profile: the next press is a stroke once this release has been read.
        std::this_thread::sleep_for(500ms);
    }
    input->Drain();

    constexpr int Taps = 100;
    // Each half lasts 20 ms at least: a writer that fell behind never squeezes a tap.
    std::thread tapping([&] {
        for (int i = 0; i < Taps; ++i) {
            b.Write(Frame(EV_KEY, BTN_SOUTH, 1));
            std::this_thread::sleep_for(20ms);
            b.Write(Frame(EV_KEY, BTN_SOUTH, 0));
            std::this_thread::sleep_for(20ms);
        }
    });
    // Read all along: the virtual device's queue would not hold four seconds of typing.
    std::vector<Ev> typed;
    const auto collect = [&](std::chrono::milliseconds span) {
        const auto end = std::chrono::steady_clock::now() + span;
        do {
            for (const Ev& e : input->Drain())
                typed.push_back(e);
            pollfd readable{input->fd(), POLLIN, 0};
            poll(&readable, 1, 20);
        } while (std::chrono::steady_clock::now() < end);
    };
    collect(500ms);
    a.reset();
    collect(1500ms);
    a = std::make_unique<KernelDevice>(Pad());
    collect(2s);
    tapping.join();
    // Taps read late are typed late, not lost: wait until the typing has stopped for a second.
    for (std::size_t before = typed.size(), rounds = 0; rounds < 10;
         ++rounds, before = typed.size()) {
        collect(1s);
        if (typed.size() == before)
            break;
    }
    ASSERT_EQ(std::count_if(typed.begin(), typed.end(), Is(EV_SYN, SYN_DROPPED, 0)), 0)
        << "the test read the typing too slowly to count it";
    const auto strokes = std::count_if(typed.begin(), typed.end(), Is(EV_KEY, KEY_A, 1));
    std::printf("FIGURE (emulated) taps on one pad lost while another is replugged: %d of %d\n",
                Taps - static_cast<int>(strokes), Taps);
    EXPECT_EQ(strokes, Taps);
    program->Signal(SIGTERM);
    EXPECT_EQ(program->Wait(30s), 0) << program->Output();
}

// As a user without access to input nodes: a remembered pad whose node is root's alone at
// first and is opened up a second later (as udev would) is read then.
TEST(Program, UnprivilegedPicksUpANodeOpenedUpLater) {
    constexpr uid_t User = 1000;
    ASSERT_EQ(chmod("/dev/uinput", 0666), 0);
    ProgramHome home("unprivileged");
    home.WriteStore();
    home.WriteSettings(5, {{Pad().name, 0, false, UinputGuid(Pad())}});
    home.Own(User);
    auto program = home.Start(User);
    auto input = VirtualInput(*program);
    ASSERT_TRUE(input);
    std::this_thread::sleep_for(2s); // well into start-up, before the pad comes

    KernelDevice pad(Pad());
    struct stat node;
    ASSERT_EQ(stat(pad.Node().c_str(), &node), 0);
    ASSERT_EQ(node.st_mode & 0077, 0u) << "the node must start as root's alone";
    pad.Write(Frame(EV_KEY, BTN_SOUTH, 1));
    std::this_thread::sleep_for(1s);
    ASSERT_EQ(chmod(pad.Node().c_str(), 0666), 0);
    EXPECT_TRUE(input->WaitFor(Is(EV_KEY, KEY_A, 1), StartLimit))
        << "the node opened up was not picked up; the program said:\n"
        << program->Output();
    program->Signal(SIGTERM);
    EXPECT_EQ(program->Wait(30s), 0) << program->Output();
    chmod("/dev/uinput", 0600);
}

struct Latency {
    double least, median, p99;
    int missed;
};

Latency Summary(std::vector<double> ms, int missed) {
    if (ms.empty())
        return {0, 0, 0, missed};
    std::sort(ms.begin(), ms.end());
    const std::size_t p99 = (ms.size() * 99 + 99) / 100 - 1;
    return {ms.front(), ms[ms.size() / 2], ms[std::min(p99, ms.size() - 1)], missed};
}

// Presses of button 0 on `pad`, each answered by A going down, and releases answered by Ctrl
// going up ("Auto-repeat all keys" releases on letting go), so each press starts from a known
// idle state. Each press comes after `rest` plus a random part of an interval, so presses fall
// anywhere in the cycle, as a player's do.
Latency MeasureLatency(KernelDevice& pad, EventNode& input, int presses,
                       std::chrono::microseconds rest, std::uint32_t interval) {
    std::vector<double> ms;
    int missed = 0;
    std::mt19937 random(interval);
    std::uniform_int_distribution<int> pauseUs(0, static_cast<int>(interval) * 1000);
    for (int i = 0; i < presses; ++i) {
        std::this_thread::sleep_for(rest + std::chrono::microseconds(pauseUs(random)));
        input.Drain();
        const auto written = std::chrono::steady_clock::now();
        pad.Write(Frame(EV_KEY, BTN_SOUTH, 1));
        std::chrono::steady_clock::time_point read;
        if (input.WaitFor(Is(EV_KEY, KEY_A, 1), ReactLimit, nullptr, &read))
            ms.push_back(std::chrono::duration<double, std::milli>(read - written).count());
        else
            ++missed;
        pad.Write(Frame(EV_KEY, BTN_SOUTH, 0));
        if (!input.WaitFor(Is(EV_KEY, KEY_LEFTCTRL, 0), ReactLimit))
            ++missed;
    }
    return Summary(std::move(ms), missed);
}

// CPU time (user + system) and voluntary context switches of every thread of `pid`.
struct Usage {
    double cpu;
    long wakeups;
};

Usage UsageOf(pid_t pid) {
    const std::string proc = "/proc/" + std::to_string(pid);
    std::istringstream in(ReadAll(proc + "/stat"));
    std::string field;
    long ticks = 0;
    // Fields 14 and 15; the command name (field 2) has no blanks here.
    for (int i = 1; i <= 15 && in >> field; ++i)
        if (i == 14 || i == 15)
            ticks += std::stol(field);
    long wakeups = 0;
    for (const auto& task : fs::directory_iterator(proc + "/task")) {
        std::istringstream status(ReadAll(task.path().string() + "/status"));
        for (std::string line; std::getline(status, line);)
            if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
                wakeups += std::stol(line.substr(24));
    }
    return {static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK)), wakeups};
}

struct Cost {
    double wakeupsPerSecond, cpuPercent;
};

Cost Measure(pid_t pid, std::chrono::seconds span) {
    const Usage before = UsageOf(pid);
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(span);
    const Usage after = UsageOf(pid);
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return {static_cast<double>(after.wakeups - before.wakeups) / wall,
            100.0 * (after.cpu - before.cpu) / wall};
}

// Four pads at 5 ms sharing one profile: the cost at rest and with one stick held, and how
// fast a press becomes a key from rest and while another pad's stick is held.
void MeasureDesign(bool sleeping) {
    const char* design = sleeping ? "sleeping reader" : "plain polling";
    constexpr std::uint32_t Interval = 5;
    std::vector<std::unique_ptr<KernelDevice>> pads;
    std::vector<ProgramHome::Controller> controllers;
    for (std::uint32_t id = 0; id < 4; ++id) {
        pads.push_back(std::make_unique<KernelDevice>(Pad()));
        // The first pad's "Auto-repeat all keys" gives a Ctrl up on each release, so each
        // timed press starts from idle; on the others a held button is one stroke.
        controllers.push_back({Pad().name, id, id == 0});
    }
    ProgramHome home(sleeping ? "sleeping" : "polling");
    home.WriteStore();
    // Shown at once: a hidden start waits for a notification area, polling for one meanwhile.
    home.WriteSettings(Interval, controllers, false);
    auto program = home.Start(0, sleeping ? PADWRIGHT_PROGRAM : PADWRIGHT_POLLING_PROGRAM);
    auto input = VirtualInput(*program);
    ASSERT_TRUE(input);
    // The four share one profile and act as one: a press starts from idle only once the
    // program has read the release before it, which a pointer move from the same pad, written
    // after the release, proves.
    for (std::size_t i = 0; i < pads.size(); ++i) {
        pads[i]->Write(Frame(EV_KEY, BTN_SOUTH, 1));
        ASSERT_TRUE(input->WaitFor(Is(EV_KEY, KEY_A, 1), StartLimit))
            << "controller " << i << " is not read";
        pads[i]->Write(Frame(EV_KEY, BTN_SOUTH, 0));
        pads[i]->Write(Frame(EV_ABS, ABS_X, 32767));
        ASSERT_TRUE(input->WaitFor(Is(EV_REL, REL_X, 10), ReactLimit))
            << "controller " << i << " moves nothing";
        pads[i]->Write(Frame(EV_ABS, ABS_X, 0));
        std::this_thread::sleep_for(200ms);
        input->Drain();
    }
    // A button held on one of them is one stroke: the others' idle readings release nothing.
    pads[1]->Write(Frame(EV_KEY, BTN_SOUTH, 1));
    ASSERT_TRUE(input->WaitFor(Is(EV_KEY, KEY_LEFTCTRL, 0), ReactLimit));
    std::this_thread::sleep_for(1s);
    const std::size_t keyEvents = Keys(input->Drain()).size();
    std::printf("FIGURE (emulated) one button held 1 s on one of 4 pads sharing a profile: %zu "
                "more key events\n",
                keyEvents);
    EXPECT_EQ(keyEvents, 0u);
    // Held without repeat, it has nothing more to send.
    const Cost buttonHeld = Measure(program->Pid(), 5s);
    std::printf("FIGURE (emulated) %s, 4 pads at 5 ms, one button held without repeat: %.1f "
                "wake-ups/s, %.2f%% of one CPU\n",
                design, buttonHeld.wakeupsPerSecond, buttonHeld.cpuPercent);
    pads[1]->Write(Frame(EV_KEY, BTN_SOUTH, 0));
    std::this_thread::sleep_for(1s);
    const Cost rest = Measure(program->Pid(), 10s);
    const Latency fromRest = MeasureLatency(*pads[0], *input, 200, 30ms, Interval);

    pads[1]->Write(Frame(EV_ABS, ABS_X, 32767));
    ASSERT_TRUE(input->WaitFor(Is(EV_REL, REL_X, 10), ReactLimit));
    const Cost held = Measure(program->Pid(), 10s);
    const Latency whileHeld = MeasureLatency(*pads[0], *input, 200, 0ms, Interval);
    pads[1]->Write(Frame(EV_ABS, ABS_X, 0));

    std::printf("FIGURE (emulated) %s, 4 pads at 5 ms, at rest: %.1f wake-ups/s, %.2f%% of one "
                "CPU\n",
                design, rest.wakeupsPerSecond, rest.cpuPercent);
    std::printf("FIGURE (emulated) %s, 4 pads at 5 ms, one stick held: %.1f wake-ups/s, %.2f%% "
                "of one CPU\n",
                design, held.wakeupsPerSecond, held.cpuPercent);
    const std::pair<const char*, Latency> latencies[] = {{"from rest", fromRest},
                                                         {"while a stick is held", whileHeld}};
    for (const auto& [what, l] : latencies)
        std::printf("FIGURE (emulated) %s, button to key %s, 200 presses: median %.2f ms, 99th "
                    "percentile %.2f ms, least %.2f ms, missed %d\n",
                    design, what, l.median, l.p99, l.least, l.missed);
    EXPECT_EQ(fromRest.missed + whileHeld.missed, 0) << "every press must come through";
    program->Signal(SIGTERM);
    EXPECT_EQ(program->Wait(30s), 0) << program->Output();
}

TEST(ProgramFigures, PollingBesideTheSleepingReaderUnderEmulation) {
    MeasureDesign(false);
    MeasureDesign(true);
}

} // namespace
} // namespace padwright::vm
