// From `padwright --profile NAME` to the running program's controller switched: the command's
// whole run (start, the call over the session bus, which returns once the switch is made, exit),
// against the real program under a private X server and bus, with two remembered controllers.
#include "support/XSession.h"

#include <benchmark/benchmark.h>

#include <csignal>

namespace {

using namespace padwright::testing;

void BM_ProfileCommandUntilSwitched(benchmark::State& state) {
    XServer x;
    Sandbox box;
    std::map<std::string, std::string> env = box.Environment(x);
    const std::string socket = box.Root() + "/bus";
    Child bus({"/usr/bin/dbus-daemon", "--session", "--nofork", "--address=unix:path=" + socket},
              env);
    env["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + socket;
    WriteFile(box.SettingsFile(), "[Joystick0]\nName=Pad\nID=0\nProfile=1\n"
                                  "GUID={6F1D2B61-D5A0-11CF-BFC7-444553540000}\n\n"
                                  "[Joystick1]\nName=Pad\nID=1\nProfile=1\n"
                                  "GUID={6F1D2B61-D5A0-11CF-BFC7-444553540001}\n");
    std::string store;
    for (const std::string name : {"One", "Two"})
        store += static_cast<char>(name.size()) + name + std::string(15039 - name.size(), '\0');
    WriteFile(box.Work() + "/Padwright.pro", store);
    x.WatchMaps();
    Child program({PADWRIGHT_BINARY}, env, box.Work());
    if (!x.WaitForMap("Padwright", Clock::now() + Millis(10000))) {
        state.SkipWithError("the window was not shown");
        return;
    }
    int next = 0;
    for (auto _ : state) {
        const char* name = next++ % 2 ? "One" : "Two";
        const auto begun = Clock::now();
        Child command({PADWRIGHT_BINARY, "--profile", name, "--controller", "1"}, env, box.Work());
        if (command.Wait(Millis(10000)) != 0) {
            state.SkipWithError("the command failed");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - begun).count());
    }
    program.Signal(SIGTERM);
    program.Wait(Millis(10000));
}
BENCHMARK(BM_ProfileCommandUntilSwitched)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

} // namespace

BENCHMARK_MAIN();
