// What following the program in front costs the running program, under a private Xvfb with the
// benchmark as the window manager (the program with a fixture pad in place of the kernel's):
// - from the window manager naming another window active (_NET_ACTIVE_WINDOW) to the profile
//   switched, seen as the X server seeing the key the old profile held released (the program
//   sends it through XTest), the pad holding button 0 throughout;
// - under sway headless (weston's flower and terminal as the programs), from sending sway the
//   focus command to the program's Status on the session bus naming the new profile: nothing is
//   injected on Wayland without uinput, so the bus is where the switch shows;
// - at rest, following on, reading on and the pad at rest, no notification area: the program's
//   wake-ups over 10 s, the voluntary context switches of all its threads (each one a return from
//   waiting), and its CPU time. The target is no wake-ups at all.
#include "../../tests/focus/SwaySession.h"
#include "../focus/SwayCommand.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>

#include <benchmark/benchmark.h>

#include "FollowingDesk.h" // Xlib's macros last

#include <X11/keysym.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <unistd.h>

namespace {

using namespace padwright::testing;

const std::string HeldPad = PADWRIGHT_SOURCE_DIR "/tools/uidemo/usb-gamepad-held.evemu";

void BM_X11FocusToKeyReleased(benchmark::State& state) {
    FollowingDesk desk(HeldPad);
    if (!WaitUntil([&] { return desk.Holds(XK_a); }, Millis(10000)))
        return state.SkipWithError("the program never pressed the pad's key");
    bool game = false;
    for (auto _ : state) {
        game = !game;
        const KeySym old = game ? XK_a : XK_b;
        const auto begun = Clock::now();
        desk.Activate(game ? desk.game : desk.editor);
        while (desk.Holds(old)) {
            if (Clock::now() - begun > Millis(5000))
                return state.SkipWithError("the old profile's key was not released");
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - begun).count());
        // The new profile's key is down before the next change.
        WaitUntil([&] { return desk.Holds(game ? XK_b : XK_a); }, Millis(5000));
    }
}
BENCHMARK(BM_X11FocusToKeyReleased)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(100);

// The program's Status over the session bus, asked on a connection of the benchmark's own.
class StatusCalls {
public:
    explicit StatusCalls(const std::string& address)
        : bus_(QDBusConnection::connectToBus(QString::fromStdString(address),
                                             QStringLiteral("follow-bench"))) {}
    ~StatusCalls() { QDBusConnection::disconnectFromBus(QStringLiteral("follow-bench")); }
    std::string Text() {
        const QDBusMessage reply = bus_.call(QDBusMessage::createMethodCall(
            QStringLiteral("org.padwright.Padwright"), QStringLiteral("/org/padwright/Padwright"),
            QStringLiteral("org.padwright.Padwright"), QStringLiteral("Status")));
        return reply.arguments().isEmpty() ? "" : reply.arguments()[0].toString().toStdString();
    }

private:
    QDBusConnection bus_;
};

void BM_SwayFocusToStatus(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "app_follow_bench", *argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv); // for Qt's D-Bus connection
    SwaySession sway;
    auto flower = sway.Launch("/usr/bin/weston-flower");
    auto terminal = sway.Launch("/usr/bin/weston-terminal");
    FollowingProgram run(HeldPad, {{"WAYLAND_DISPLAY", sway.Socket()},
                                   {"DISPLAY", ""},
                                   {"QT_QPA_PLATFORM", "wayland"},
                                   {"XDG_SESSION_TYPE", "wayland"}});
    StatusCalls calls(run.env["DBUS_SESSION_BUS_ADDRESS"]);
    const padwright::SwayCommands ipc(sway.Ipc());
    const std::string apps[] = {"org.freedesktop.weston.flower",
                                "org.freedesktop.weston.wayland-terminal"};
    // Brings app `i` to the front; true once the program shows the profile its rules give.
    auto focus = [&](int i, Millis limit) {
        const std::string profile = i == 0 ? "\tGame\t" : "\tDesk\t";
        const auto begun = Clock::now();
        ipc.Send("[app_id=\"" + apps[i] + "\"] focus");
        while (calls.Text().find(profile) == std::string::npos) {
            if (Clock::now() - begun > limit)
                return false;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return true;
    };
    // Once both windows are open and the program follows them.
    const bool ready = ipc.Connected() &&
                       WaitUntil([&] { return focus(0, Millis(100)); }, Millis(20000)) &&
                       WaitUntil([&] { return focus(1, Millis(100)); }, Millis(20000));
    if (!ready)
        return state.SkipWithError("sway, its clients or the program did not come up");
    int next = 0;
    for (auto _ : state) {
        const auto begun = Clock::now();
        if (!focus(next, Millis(5000)))
            return state.SkipWithError("the profile did not follow the focus");
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - begun).count());
        next ^= 1;
    }
}
BENCHMARK(BM_SwayFocusToStatus)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(100);

struct Usage {
    long wakeups = 0;
    double cpuSeconds = 0;
};

// The voluntary context switches of every thread of `pid`, and its user and system time.
Usage UsageOf(pid_t pid) {
    Usage usage;
    const std::string folder = "/proc/" + std::to_string(pid);
    for (const auto& task : std::filesystem::directory_iterator(folder + "/task")) {
        std::ifstream status(task.path() / "status");
        for (std::string line; std::getline(status, line);)
            if (line.starts_with("voluntary_ctxt_switches:"))
                usage.wakeups += std::stol(line.substr(line.find(':') + 1));
    }
    std::ifstream stat(folder + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 3; i < 14; ++i) // up to utime, the 14th field
        fields >> field;
    long user = 0, system = 0;
    fields >> user >> system;
    usage.cpuSeconds =
        static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
    return usage;
}

void BM_X11FollowingAtRest(benchmark::State& state) {
    // The held pad's description without its recorded events: a pad at rest.
    const std::string pad = std::filesystem::temp_directory_path() /
                            ("padwright-rest-" + std::to_string(getpid()) + ".evemu");
    {
        std::ifstream in(HeldPad);
        std::ofstream out(pad);
        for (std::string line; std::getline(in, line);)
            if (!line.starts_with("E:"))
                out << line << '\n';
    }
    FollowingDesk desk(pad);
    desk.Activate(desk.game);
    const bool followed = WaitUntil(
        [&] { return desk.run.StatusLines().find("\tGame\ton\tGame\n") != std::string::npos; },
        Millis(10000));
    std::filesystem::remove(pad);
    if (!followed)
        return state.SkipWithError(("the program did not follow the window manager: " +
                                    desk.run.StatusLines() + desk.run.program->Stderr())
                                       .c_str());
    std::this_thread::sleep_for(Millis(2000)); // the status command's traces settle
    for (auto _ : state) {
        const Usage before = UsageOf(desk.run.program->Pid());
        std::this_thread::sleep_for(Millis(10000));
        const Usage after = UsageOf(desk.run.program->Pid());
        state.counters["wakeups_in_10s"] = static_cast<double>(after.wakeups - before.wakeups);
        state.counters["cpu_ms"] = 1000 * (after.cpuSeconds - before.cpuSeconds);
    }
}
BENCHMARK(BM_X11FollowingAtRest)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
