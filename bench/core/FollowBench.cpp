// Time from the desktop's word of another program in front to the profiles switched: four
// acquired controllers read at rest, 64 rules, each change moving every controller to another
// profile and releasing what the old one held.
#include "core/Core.h"
#include "core/ProgramRules.h"
#include "engine/Catalogue.h"
#include "platform/dinput/EvemuParser.h"
#include "platform/dinput/FixtureKernel.h"
#include "platform/eventloop/ManualEventLoop.h"
#include "platform/inject/RecordingInjector.h"
#include "platform/session/RecordingSession.h"
#include "platform/settings/MemorySettings.h"

#include <benchmark/benchmark.h>

#include <string>

namespace padwright {
namespace {

constexpr int Controllers = 4;
constexpr int Rules = 64;

struct NoBoxes final : IMessageBoxes {
    void Warning(std::string_view, std::string_view) override {}
    void Error(std::string_view) override {}
};

void BM_ProgramInFrontToProfilesSwitched(benchmark::State& state) {
    auto kernel = std::make_shared<FixtureKernel>();
    const EvemuDevice pad =
        LoadEvemuFile(std::string(PADWRIGHT_DEVICES_DIR) + "/usb-gamepad-0079-0011.evemu");
    for (int i = 0; i < Controllers; ++i)
        kernel->Add(pad.description, {});
    ManualEventLoop loop;
    RecordingInjector injector;
    RecordingSession session;
    NoBoxes boxes;
    Registry settings{std::make_unique<MemorySettings>()};
    Core core{CoreParts{loop, injector, session, boxes, settings,
                        [kernel](std::shared_ptr<IDirectInput8>& out) {
                            out = CreateFixtureDirectInput(kernel, nullptr);
                            return DI_OK;
                        },
                        nullptr, "/nonexistent/Padwright.pro"}};
    core.StartDirectInput();
    for (int i = 0; i < Controllers; ++i) {
        core.Controllers.View.cmbFoundDevices.ItemIndex = i;
        core.AddController();
    }
    for (const char* key : {"VK_A", "VK_B", "VK_C"}) {
        TProfile& profile = core.Lists.Profiles.push_back(NewProfile(key));
        for (int button = 0; button < 8; ++button)
            AssignFunction(profile.Mappings[ButtonSlot(button)], key);
    }
    for (int i = 0; i < Controllers; ++i)
        core.ChooseProfile(i, 0);
    for (int r = 0; r < Rules; ++r)
        core.Lists.Programs.push_back({"program" + std::to_string(r), 1 + r % 3, ""});
    core.StartReading();

    ProgramFollower follower(core);
    ForegroundProgram programs[2];
    programs[0].wmClass = "program" + std::to_string(Rules - 2); // the last rules: found last
    programs[1].wmClass = "program" + std::to_string(Rules - 1);
    int next = 0;
    for (auto _ : state) {
        follower.ProgramInFront(programs[next]);
        next ^= 1;
        if (injector.calls.size() > 4096)
            injector.calls.clear();
    }
    benchmark::DoNotOptimize(core.Lists.ActiveJoysticks[0].FollowedProfile);
}
BENCHMARK(BM_ProgramInFrontToProfilesSwitched)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace padwright
