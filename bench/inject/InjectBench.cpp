// Cost of one injected key stroke (press and release) through each injector's code path.
#include "../../tests/support/XvfbServer.h"
#include "platform/inject/UinputInjector.h"
#include "platform/inject/X11Layout.h"
#include "platform/inject/XTestInjector.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace padwright {
namespace {

// One private X server for every benchmark that needs a display.
const testing::XvfbServer& Server() {
    static testing::XvfbServer server;
    return server;
}

// Takes a copy of each batch, as the kernel's write() would, and nothing more.
class CopyingWriter : public IUinputWriter {
public:
    void Write(std::span<const input_event> events) override {
        std::memcpy(buffer_, events.data(), events.size_bytes());
        benchmark::DoNotOptimize(buffer_);
    }

private:
    input_event buffer_[16];
};

void BM_UinputKeyStroke(benchmark::State& state) {
    UinputInjector injector(std::make_unique<CopyingWriter>());
    for (auto _ : state) {
        injector.keybd_event(0x41, 0x1E, 0, 0);
        injector.keybd_event(0x41, 0x1E, KEYEVENTF_KEYUP, 0);
    }
}
BENCHMARK(BM_UinputKeyStroke);

// The same with the layout followed on a display: each key first takes in the server's notices.
void BM_UinputKeyStrokeFollowingX11Layout(benchmark::State& state) {
    std::string error;
    auto layout = X11Layout::Open(Server().display().c_str(), error);
    if (!layout) {
        state.SkipWithError(error.c_str());
        return;
    }
    UinputInjector injector(std::make_unique<CopyingWriter>(), std::move(layout));
    for (auto _ : state) {
        injector.keybd_event(0x41, 0x1E, 0, 0);
        injector.keybd_event(0x41, 0x1E, KEYEVENTF_KEYUP, 0);
    }
}
BENCHMARK(BM_UinputKeyStrokeFollowingX11Layout);

void BM_UinputWheelStep(benchmark::State& state) {
    UinputInjector injector(std::make_unique<CopyingWriter>());
    for (auto _ : state)
        injector.mouse_event(MOUSEEVENTF_WHEEL, 0, 0, -120, 0);
}
BENCHMARK(BM_UinputWheelStep);

// Includes the server's share: the connection's buffer fills when the server falls behind.
void BM_XTestKeyStroke(benchmark::State& state) {
    std::string error;
    auto injector = XTestInjector::Open(Server().display().c_str(), error);
    if (!injector) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        injector->keybd_event(0x41, 0x1E, 0, 0);
        injector->keybd_event(0x41, 0x1E, KEYEVENTF_KEYUP, 0);
    }
}
BENCHMARK(BM_XTestKeyStroke);

} // namespace
} // namespace padwright

BENCHMARK_MAIN();
