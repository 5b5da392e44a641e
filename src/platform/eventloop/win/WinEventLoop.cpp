#include "platform/eventloop/win/WinEventLoop.h"

#include "platform/dinput/win/WinHandle.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <vector>

#include <windows.h>

#include <mmsystem.h> // after windows.h, whose types it uses

namespace padwright {

namespace {

using Clock = std::chrono::steady_clock;

struct TimerEntry {
    int interval = 0;
    bool singleShot = false;
    bool precise = false;
    std::function<void()> fire;
    bool active = false;
    bool alive = true;
    Clock::time_point due;
};

struct WatchEntry {
    HANDLE handle = nullptr;
    std::function<void()> ready;
    bool alive = true;
    bool broken = false; // closed under the watch: no longer waited on
};

// The window timer that stands in for the loop while another loop runs: it fires only when this
// loop has not turned for this long after a timer was due.
constexpr UINT_PTR BridgeTimer = 1;
constexpr int BridgeSlackMs = 20;
// Handles beyond what one wait takes are looked at this often.
constexpr DWORD OverflowPollMs = 10;

template <typename Entry> void Forget(std::vector<std::shared_ptr<Entry>>& entries, Entry* gone) {
    std::erase_if(entries, [gone](const auto& entry) { return entry.get() == gone; });
}

} // namespace

struct WinEventLoop::State {
    std::vector<std::shared_ptr<TimerEntry>> timers;
    std::vector<std::shared_ptr<WatchEntry>> watches;
    HWND window = nullptr;
    int preciseTimers = 0; // active ones: the system's timer resolution is 1 ms while any runs
    bool quit = false;
    int exitCode = 0;
    std::function<bool(MSG&)> filter;

    void SetActive(TimerEntry& timer, bool active) {
        if (timer.active == active)
            return;
        timer.active = active;
        if (!timer.precise)
            return;
        preciseTimers += active ? 1 : -1;
        if (active && preciseTimers == 1)
            timeBeginPeriod(1);
        else if (!active && preciseTimers == 0)
            timeEndPeriod(1);
    }

    std::optional<Clock::time_point> NextDue() const {
        std::optional<Clock::time_point> next;
        for (const auto& timer : timers)
            if (timer->active && (!next || timer->due < *next))
                next = timer->due;
        return next;
    }

    void FireDueTimers() {
        const Clock::time_point now = Clock::now();
        const auto snapshot = timers;
        for (const auto& timer : snapshot) {
            if (!timer->alive || !timer->active || timer->due > now)
                continue;
            if (timer->singleShot) {
                SetActive(*timer, false);
            } else {
                // A loop that fell behind catches up with one run, not a burst.
                timer->due += std::chrono::milliseconds(timer->interval);
                if (timer->due <= now)
                    timer->due = now + std::chrono::milliseconds(timer->interval);
            }
            timer->fire();
        }
    }

    // Runs the watches whose handle is signalled; `woke` ended the wait, which may have
    // consumed its signal (an auto-reset event).
    void ServeSignalled(HANDLE woke) {
        const auto snapshot = watches;
        for (const auto& watch : snapshot) {
            if (!watch->alive || watch->broken)
                continue;
            const DWORD state =
                watch->handle == woke ? WAIT_OBJECT_0 : WaitForSingleObject(watch->handle, 0);
            if (state == WAIT_FAILED)
                watch->broken = true; // told once, as an error on a descriptor is
            if (state == WAIT_OBJECT_0 || state == WAIT_FAILED)
                watch->ready();
        }
    }

    void ArmBridge() {
        const std::optional<Clock::time_point> due = NextDue();
        if (!due) {
            KillTimer(window, BridgeTimer);
            return;
        }
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - Clock::now());
        SetTimer(window, BridgeTimer,
                 static_cast<UINT>(std::max<std::int64_t>(wait.count(), 0) + BridgeSlackMs),
                 nullptr);
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
        auto* state = reinterpret_cast<State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_TIMER && w == BridgeTimer && state) {
            state->ServeSignalled(nullptr);
            state->FireDueTimers();
            state->ArmBridge();
            return 0;
        }
        return DefWindowProcW(window, message, w, l);
    }
};

namespace {

class WinTimer final : public ITimer {
public:
    WinTimer(std::weak_ptr<WinEventLoop::State> loop, std::shared_ptr<TimerEntry> entry)
        : loop_(std::move(loop)), entry_(std::move(entry)) {}
    ~WinTimer() override {
        Stop();
        entry_->alive = false;
        if (const auto loop = loop_.lock())
            Forget(loop->timers, entry_.get());
    }

    void Start() override {
        if (const auto loop = loop_.lock())
            loop->SetActive(*entry_, true);
        entry_->due = Clock::now() + std::chrono::milliseconds(entry_->interval);
    }
    void Stop() override {
        if (const auto loop = loop_.lock())
            loop->SetActive(*entry_, false);
    }
    bool IsActive() const override { return entry_->active; }
    // As a running toolkit timer does, it counts the new interval from now.
    void SetInterval(int milliseconds) override {
        entry_->interval = milliseconds;
        if (entry_->active)
            entry_->due = Clock::now() + std::chrono::milliseconds(milliseconds);
    }
    int Interval() const override { return entry_->interval; }

private:
    std::weak_ptr<WinEventLoop::State> loop_;
    std::shared_ptr<TimerEntry> entry_;
};

class WinWatch final : public IDescriptorWatch {
public:
    WinWatch(std::weak_ptr<WinEventLoop::State> loop, std::shared_ptr<WatchEntry> entry)
        : loop_(std::move(loop)), entry_(std::move(entry)) {}
    ~WinWatch() override {
        entry_->alive = false;
        if (const auto loop = loop_.lock())
            Forget(loop->watches, entry_.get());
    }

private:
    std::weak_ptr<WinEventLoop::State> loop_;
    std::shared_ptr<WatchEntry> entry_;
};

constexpr const wchar_t* WindowClass = L"PadwrightEventLoop";

} // namespace

WinEventLoop::WinEventLoop() : state_(std::make_shared<State>()) {
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = State::WindowProc;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = WindowClass;
    RegisterClassExW(&type); // fails harmlessly when a loop before this one registered it
    state_->window = CreateWindowExW(0, WindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     type.hInstance, nullptr);
    SetWindowLongPtrW(state_->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state_.get()));
}

WinEventLoop::~WinEventLoop() {
    DestroyWindow(state_->window);
    for (const auto& timer : state_->timers)
        state_->SetActive(*timer, false);
}

std::unique_ptr<ITimer> WinEventLoop::CreateTimer(int milliseconds, TimerMode mode,
                                                  std::function<void()> fire) {
    auto entry = std::make_shared<TimerEntry>();
    entry->interval = milliseconds;
    entry->singleShot = mode == TimerMode::SingleShot || mode == TimerMode::PreciseSingleShot;
    entry->precise = mode == TimerMode::Precise || mode == TimerMode::PreciseSingleShot;
    entry->fire = std::move(fire);
    state_->timers.push_back(entry);
    return std::make_unique<WinTimer>(state_, std::move(entry));
}

std::unique_ptr<IDescriptorWatch> WinEventLoop::Watch(int descriptor, std::function<void()> ready) {
    auto entry = std::make_shared<WatchEntry>();
    entry->handle = FromWaitHandle(descriptor);
    entry->ready = std::move(ready);
    state_->watches.push_back(entry);
    return std::make_unique<WinWatch>(state_, std::move(entry));
}

bool WinEventLoop::RunOnce(unsigned limitMs) {
    State& state = *state_;
    std::vector<HANDLE> handles;
    bool overflow = false;
    for (const auto& watch : state.watches) {
        if (watch->broken)
            continue;
        if (handles.size() == MAXIMUM_WAIT_OBJECTS - 1) // one place is the message queue's
            overflow = true;
        else
            handles.push_back(watch->handle);
    }
    DWORD timeout = limitMs;
    if (const std::optional<Clock::time_point> due = state.NextDue()) {
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - Clock::now());
        timeout =
            std::min<DWORD>(timeout, static_cast<DWORD>(std::max<std::int64_t>(wait.count(), 0)));
    }
    if (overflow)
        timeout = std::min(timeout, OverflowPollMs);
    state.ArmBridge();

    const auto count = static_cast<DWORD>(handles.size());
    const DWORD woke = MsgWaitForMultipleObjectsEx(count, handles.data(), timeout, QS_ALLINPUT,
                                                   MWMO_INPUTAVAILABLE);
    if (woke < WAIT_OBJECT_0 + count || woke == WAIT_FAILED || overflow) {
        state.ServeSignalled(woke < WAIT_OBJECT_0 + count ? handles[woke - WAIT_OBJECT_0]
                                                          : nullptr);
    } else if (woke == WAIT_OBJECT_0 + count) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                state.quit = true;
                state.exitCode = static_cast<int>(message.wParam);
                break;
            }
            if (state.filter && state.filter(message))
                continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    state.FireDueTimers();
    return !state.quit;
}

void WinEventLoop::SetMessageFilter(std::function<bool(tagMSG&)> filter) {
    state_->filter = std::move(filter);
}

int WinEventLoop::Run() {
    while (RunOnce(INFINITE)) {
    }
    return state_->exitCode;
}

} // namespace padwright
