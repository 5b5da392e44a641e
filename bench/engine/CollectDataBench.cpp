// The data-collection cycle on four controllers with every slot mapped, and the auto-repeat tick.
// Reports time per controller per run and heap allocations per run.
#include "engine/Catalogue.h"
#include "engine/Engine.h"
#include "input/DiLog.h"
#include "platform/inject/ScanCodes.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace {

std::atomic<long> allocations{0};

} // namespace

// Every heap allocation of the process passes here, so a run can be checked for none.
void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace padwright {
namespace {

constexpr int Controllers = 4;
constexpr int Phases = 4; // engaged, engaged, engaged, released: presses, repeats, releases

// Counts what would be injected; the work of a real injector is not what is measured here.
class CountingInjector : public IInputInjector {
public:
    std::uint32_t MapVirtualKeyA(std::uint32_t code, std::uint32_t) override {
        return VirtualKeyToScanCode(code);
    }
    void keybd_event(std::uint8_t, std::uint8_t, std::uint32_t, std::uintptr_t) override {
        ++events;
    }
    void mouse_event(std::uint32_t, std::int32_t, std::int32_t, std::int32_t,
                     std::uintptr_t) override {
        ++events;
    }
    void SendAppCommand(std::uint32_t) override { ++events; }
    long events = 0;
};

class NoSession : public ISessionControl {
public:
    bool EnableShutdownPrivilege() override { return true; }
    bool ExitWindowsEx(std::uint32_t, std::uint32_t) override { return true; }
};

class BenchHost : public IEngineHost {
public:
    explicit BenchHost(DiLog& log) : log_(log) {}
    void PauseReading() override { ++pauses; }
    void ResumeReading() override {}
    void TrayAnimationStep() override {}
    bool ReadingOn() const override { return true; }
    void LogDirectInputError(std::string_view prefix, HRESULT code) override {
        log_.LogDirectInputError(prefix, code);
    }
    long pauses = 0;

private:
    DiLog& log_;
};

// A device whose reading follows a shared phase: fully deflected on three runs, neutral on the
// fourth.
class PhasedDevice : public IDirectInputDevice8 {
public:
    PhasedDevice(const int& phase, const DIJOYSTATE2* states) : phase_(phase), states_(states) {}
    HRESULT stateResult = DI_OK;
    HRESULT SetCooperativeLevel(WindowHandle, DWORD) override { return DI_OK; }
    HRESULT SetDataFormat(const DIDATAFORMAT*) override { return DI_OK; }
    HRESULT Acquire() override { return DI_OK; }
    HRESULT Unacquire() override { return DI_OK; }
    HRESULT EnumObjects(const EnumObjectsCallback&, void*, DWORD) override { return DI_OK; }
    HRESULT GetProperty(DWORD, DIPROPHEADER*) override { return DIERR_UNSUPPORTED; }
    HRESULT SetProperty(DWORD, const DIPROPHEADER*) override { return DI_OK; }
    HRESULT Poll() override { return DI_OK; }
    HRESULT GetDeviceState(DWORD size, void* data) override {
        if (FAILED(stateResult))
            return stateResult;
        std::memcpy(data, &states_[phase_], size);
        return DI_OK;
    }

private:
    const int& phase_;
    const DIJOYSTATE2* states_;
};

// Functions spread over the slots: keys with modifiers, keys repeating on their own, mouse
// buttons, wheel, pointer movement, application commands.
void MapEverySlot(TProfile& profile, int seed) {
    static constexpr const char* Functions[] = {
        "VK_A",        "VK_SPACE",           "MOUSE_LEFT_CLICK", "VK_F5",
        "VOLUME_UP",   "MOUSE_WHEEL_BACK",   "VK_RETURN",        "MOUSE_MOVE_X_POS",
        "VK_OEM_PLUS", "MOUSE_RIGHT_CLICK",  "MEDIA_NEXTTRACK",  "VK_NUMPAD4",
        "VK_LEFT",     "MOUSE_WHEEL_FORWARD"};
    static constexpr int Rates[] = {0, 255, 10, 0, 30, 0, 1, 16};
    for (int slot = 0; slot < SlotCount; ++slot) {
        TControlMapping& m = profile.Mappings[slot];
        const int k = slot + seed;
        AssignFunction(m, Functions[k % std::size(Functions)]);
        m.Ctrl = k % 3 == 0;
        m.Shift = k % 5 == 0;
        m.Alt = k % 7 == 0;
        m.RepeatRate = Rates[k % std::size(Rates)];
        m.AutoRepeat = m.RepeatRate != 0;
    }
}

struct Rig {
    TLists lists;
    CountingInjector injector;
    NoSession session;
    DiLog log;
    BenchHost host{log};
    Engine engine{lists, injector, session, host};
    int phase = 0;
    DIJOYSTATE2 states[Phases];
    std::vector<std::shared_ptr<PhasedDevice>> devices;

    Rig() {
        std::memset(states, 0, sizeof states);
        for (int p = 0; p < Phases; ++p) {
            DIJOYSTATE2& s = states[p];
            const bool engaged = p != Phases - 1;
            const LONG v = engaged ? (p % 2 ? 10 : -10) : 0;
            s.lX = s.lY = s.lZ = s.lRx = s.lRy = s.lRz = v;
            s.rglSlider[0] = s.rglSlider[1] = -v;
            for (int h = 0; h < MaxHats; ++h)
                s.rgdwPOV[h] = engaged ? static_cast<DWORD>(4500 * ((h + p) % 8)) : POV_CENTERED;
            for (int b = 0; b < MaxButtons; ++b)
                s.rgbButtons[b] = engaged ? 0x80 : 0;
        }
        for (int c = 0; c < Controllers; ++c) {
            MapEverySlot(lists.Profiles.push_back(NewProfile("Bench")), c);
            auto device = std::make_shared<PhasedDevice>(phase, states);
            devices.push_back(device);
            TJoystick& j = lists.ActiveJoysticks.emplace_back();
            j.Profile = c + 1;
            j.Threshold = 5;
            j.RepeatKeys = c % 2 == 0; // half of them repeat every key on every run
            j.Acquired = true;
            j.SliderCount = MaxSliders;
            j.POVCount = MaxHats;
            j.POVMax = {7, 3, 7, 3};
            j.ButtonCount = MaxButtons;
            j.Device = device;
        }
    }

    void Run(int iteration) {
        phase = iteration % Phases;
        engine.CollectData();
        if (iteration % 6 == 5) // the 30 ms tick against a 5 ms cycle
            engine.tmrAutoRepeatTimer();
    }
};

void ReportPerRun(benchmark::State& state, long allocationsDuring, long events) {
    const auto runs = static_cast<double>(state.iterations());
    state.counters["ns_per_controller"] = benchmark::Counter(
        runs * Controllers, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["allocs_per_run"] = static_cast<double>(allocationsDuring) / runs;
    state.counters["events_per_run"] = static_cast<double>(events) / runs;
}

void BM_CollectData(benchmark::State& state) {
    Rig rig;
    for (int i = 0; i < 2 * Phases; ++i) // settle the press states
        rig.Run(i);
    rig.injector.events = 0;
    int iteration = 0;
    const long before = allocations.load();
    for (auto _ : state)
        rig.Run(iteration++);
    ReportPerRun(state, allocations.load() - before, rig.injector.events);
    if (rig.host.pauses != 0)
        state.SkipWithError("reading paused");
}
BENCHMARK(BM_CollectData);

// The same with one controller failing its state read on every run and logging on: the log
// line goes through the write buffer.
void BM_CollectDataLogging(benchmark::State& state) {
    Rig rig;
    rig.log.Open("/dev/null");
    rig.devices[1]->stateResult = DIERR_INPUTLOST;
    int iteration = 0;
    rig.injector.events = 0;
    const long before = allocations.load();
    for (auto _ : state)
        rig.Run(iteration++);
    ReportPerRun(state, allocations.load() - before, rig.injector.events);
    rig.log.Close();
}
BENCHMARK(BM_CollectDataLogging);

void BM_AutoRepeatTick(benchmark::State& state) {
    Rig rig;
    for (int i = 0; i < 2; ++i)
        rig.Run(i);
    const long before = allocations.load();
    for (auto _ : state)
        rig.engine.tmrAutoRepeatTimer();
    ReportPerRun(state, allocations.load() - before, 0);
}
BENCHMARK(BM_AutoRepeatTick);

} // namespace
} // namespace padwright
