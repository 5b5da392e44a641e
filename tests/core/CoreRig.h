#pragma once
// A core without any window or toolkit over fixture controllers, on an event loop the test turns
// by hand, recording what it sends.
#include "core/Core.h"

#include "FixtureHelpers.h"
#include "StoreTestSupport.h"
#include "platform/inject/RecordingInjector.h"
#include "platform/session/RecordingSession.h"
#include "platform/settings/MemorySettings.h"

namespace padwright::test {

class ManualLoop final : public IEventLoop {
public:
    struct Timer final : ITimer {
        void Start() override { active = true; }
        void Stop() override { active = false; }
        bool IsActive() const override { return active; }
        void SetInterval(int ms) override { interval = ms; }
        int Interval() const override { return interval; }
        bool active = false;
        int interval = 0;
    };
    std::unique_ptr<ITimer> CreateTimer(int ms, TimerMode, std::function<void()>) override {
        auto timer = std::make_unique<Timer>();
        timer->interval = ms;
        return timer;
    }
    std::unique_ptr<IDescriptorWatch> Watch(int, std::function<void()>) override {
        return std::make_unique<IDescriptorWatch>();
    }
};

struct Rig {
    // Save writes the profile store there; by default it cannot.
    explicit Rig(std::string store = "/nonexistent/Padwright.pro") : storePath(std::move(store)) {}

    std::string storePath;
    std::shared_ptr<FixtureKernel> kernel = std::make_shared<FixtureKernel>();
    ManualLoop loop;
    RecordingInjector injector;
    RecordingSession session;
    test::RecordingBoxes boxes;
    Registry settings{std::make_unique<MemorySettings>()};
    Core core{CoreParts{loop, injector, session, boxes, settings,
                        [this](std::shared_ptr<IDirectInput8>& out) {
                            out = CreateFixtureDirectInput(kernel, nullptr);
                            return DI_OK;
                        },
                        nullptr, storePath}};

    std::vector<std::pair<std::uint8_t, bool>> Keys() const { // vk, released
        std::vector<std::pair<std::uint8_t, bool>> keys;
        for (const InjectedCall& call : injector.calls)
            if (call.type == InjectedCall::Key)
                keys.emplace_back(call.vk, (call.flags & KEYEVENTF_KEYUP) != 0);
        return keys;
    }
};

} // namespace padwright::test
