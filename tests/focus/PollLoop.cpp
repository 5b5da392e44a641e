#include "PollLoop.h"

#include <poll.h>
#include <vector>

namespace padwright::testing {

namespace {

using Clock = std::chrono::steady_clock;

// Every timer here fires once per Start, which is all the sources ask for.
struct Handle final : ITimer, IDescriptorWatch {
    explicit Handle(std::list<PollLoop::Entry>::iterator at) : at(at) {}
    // Removed by the loop later: this may run inside the entry's own callback.
    ~Handle() override { at->dead = true; }
    void Start() override {
        at->started = true;
        at->due = Clock::now() + std::chrono::milliseconds(at->interval);
    }
    void Stop() override { at->started = false; }
    bool IsActive() const override { return at->started; }
    void SetInterval(int milliseconds) override { at->interval = milliseconds; }
    int Interval() const override { return at->interval; }
    std::list<PollLoop::Entry>::iterator at;
};

} // namespace

std::unique_ptr<ITimer> PollLoop::CreateTimer(int milliseconds, TimerMode,
                                              std::function<void()> fire) {
    auto at =
        entries_.insert(entries_.end(), Entry{-1, std::move(fire), {}, false, milliseconds, false});
    return std::make_unique<Handle>(at);
}

std::unique_ptr<IDescriptorWatch> PollLoop::Watch(int descriptor, std::function<void()> ready) {
    auto at = entries_.insert(entries_.end(), Entry{descriptor, std::move(ready)});
    return std::make_unique<Handle>(at);
}

bool PollLoop::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = Clock::now() + timeout;
    while (!done()) {
        std::erase_if(entries_, [](const Entry& e) { return e.dead; });
        auto now = Clock::now();
        if (now >= end)
            return false;
        auto wake = end;
        std::vector<pollfd> fds;
        std::vector<Entry*> owners;
        for (Entry& e : entries_) {
            if (e.descriptor >= 0) {
                fds.push_back({e.descriptor, POLLIN, 0});
                owners.push_back(&e);
            } else if (e.started && e.due < wake) {
                wake = e.due;
            }
        }
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(wake - now).count();
        poll(fds.data(), fds.size(), static_cast<int>(wait));
        for (std::size_t i = 0; i < fds.size(); ++i)
            if (fds[i].revents && !owners[i]->dead) {
                ++wakeups_;
                owners[i]->run();
            }
        for (Entry& e : entries_)
            if (e.descriptor < 0 && e.started && e.due <= Clock::now() && !e.dead) {
                e.started = false;
                ++wakeups_;
                e.run();
            }
    }
    return true;
}

} // namespace padwright::testing
