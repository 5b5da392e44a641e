// Cost of one controller read in the data-collection cycle (Poll, then GetDeviceState) through
// the evdev device code, with the kernel replaced by the in-memory event source.
#include "platform/dinput/EvemuParser.h"
#include "platform/dinput/FixtureKernel.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace padwright {
namespace {

struct OpenPad {
    std::shared_ptr<FixtureKernel> kernel = std::make_shared<FixtureKernel>();
    int node = kernel->Add(
        LoadEvemuFile(PADWRIGHT_DEVICES_DIR "/xbox360-pad-xpad-ayaneo-air.evemu").description);
    std::shared_ptr<IDirectInputDevice8> device;

    OpenPad() {
        auto di = CreateFixtureDirectInput(kernel);
        GUID guid{};
        di->EnumDevices(
            DI8DEVCLASS_GAMECTRL,
            [&](const DIDEVICEINSTANCEA& d, void*) {
                guid = d.guidInstance;
                return DIENUM_STOP;
            },
            nullptr, DIEDFL_ATTACHEDONLY);
        di->CreateDevice(guid, device);
        device->SetCooperativeLevel(0, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);
        device->SetDataFormat(&c_dfDIJoystick2);
        device->Acquire();
        DIPROPRANGE range{{sizeof range, sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, -10, 10};
        device->SetProperty(DIPROP_RANGE, &range.diph);
        DIPROPDWORD deadZone{{sizeof deadZone, sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, 1000};
        device->SetProperty(DIPROP_DEADZONE, &deadZone.diph);
    }

    void Read(benchmark::State& state) {
        DIJOYSTATE2 joy;
        if (device->Poll() != DI_OK || device->GetDeviceState(sizeof joy, &joy) != DI_OK)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(joy);
    }
};

// A stick sweep with hat and button changes, each report closed by SYN_REPORT.
std::vector<EvdevEvent> PendingEvents(std::size_t count) {
    std::vector<EvdevEvent> events;
    for (std::int32_t i = 0; events.size() < count; ++i) {
        events.push_back({EV_ABS, ABS_X, (i * 97) % 65536 - 32768});
        events.push_back({EV_ABS, ABS_HAT0X, i % 3 - 1});
        events.push_back({EV_KEY, BTN_SOUTH, i % 2});
        events.push_back({EV_SYN, SYN_REPORT, 0});
    }
    events.resize(count);
    return events;
}

void BM_PollAndStateNothingPending(benchmark::State& state) {
    OpenPad pad;
    for (auto _ : state)
        pad.Read(state);
}
BENCHMARK(BM_PollAndStateNothingPending);

void BM_PollAndState1000Pending(benchmark::State& state) {
    OpenPad pad;
    const std::vector<EvdevEvent> events = PendingEvents(1000);
    for (auto _ : state) {
        state.PauseTiming();
        pad.kernel->Push(pad.node, events);
        state.ResumeTiming();
        pad.Read(state);
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_PollAndState1000Pending);

} // namespace
} // namespace padwright

BENCHMARK_MAIN();
