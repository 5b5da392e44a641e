// What following the program in front costs the running program, under a private Xvfb with the
// benchmark as the window manager (the program with a fixture pad in place of the kernel's):
// - from the window manager naming another window active (_NET_ACTIVE_WINDOW) to the profile
//   switched, seen as the X server seeing the key the old profile held released (the program
//   sends it through XTest), the pad holding button 0 throughout;
// - at rest, following on, reading on and the pad at rest, no notification area: the program's
//   wake-ups over 10 s, the voluntary context switches of all its threads (each one a return from
//   waiting), and its CPU time. The target is no wake-ups at all.
#include "support/FollowingDesk.h"

#include <benchmark/benchmark.h>

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
    usage.cpuSeconds = static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
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
    std::filesystem::remove(pad);
    desk.Activate(desk.game);
    if (!WaitUntil([&] { return desk.Status().find("\tGame\ton\tGame\n") != std::string::npos; },
                   Millis(10000)))
        return state.SkipWithError("the program did not follow the window manager");
    std::this_thread::sleep_for(Millis(2000)); // the status command's traces settle
    for (auto _ : state) {
        const Usage before = UsageOf(desk.program->Pid());
        std::this_thread::sleep_for(Millis(10000));
        const Usage after = UsageOf(desk.program->Pid());
        state.counters["wakeups_in_10s"] = static_cast<double>(after.wakeups - before.wakeups);
        state.counters["cpu_ms"] = 1000 * (after.cpuSeconds - before.cpuSeconds);
    }
}
BENCHMARK(BM_X11FollowingAtRest)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
