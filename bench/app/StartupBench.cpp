// Time from the start of the real program to its main window being mapped, and its resident
// memory once running, under Xvfb with fresh settings and an empty working folder.
#include "support/XSession.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace {

using namespace padwright::testing;

long ResidentKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

void BM_StartUntilWindowShown(benchmark::State& state) {
    XServer x;
    Sandbox box;
    const std::map<std::string, std::string> env = box.Environment(x);
    double residentMB = 0;
    for (auto _ : state) {
        x.WatchMaps();
        const auto begun = Clock::now();
        Child program({PADWRIGHT_BINARY}, env, box.Work());
        if (!x.WaitForMap("Padwright", begun + Millis(10000))) {
            state.SkipWithError("the window was not shown");
            break;
        }
        const auto shown = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(shown - begun).count());
        // Let the first timer ticks and any late initialisation settle before reading memory.
        struct timespec settle = {0, 500'000'000};
        nanosleep(&settle, nullptr);
        residentMB += ResidentKilobytes(program.Pid()) / 1024.0;
        x.Close(*x.FindWindow("Padwright", false));
        program.Wait(Millis(10000));
    }
    state.counters["resident_MB"] =
        benchmark::Counter(residentMB, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_StartUntilWindowShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

BENCHMARK_MAIN();
