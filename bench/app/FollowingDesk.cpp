#include "FollowingDesk.h"

#include "engine/Catalogue.h"
#include "engine/Lists.h"
#include "platform/dinput/EvemuParser.h"
#include "platform/dinput/InstanceGuid.h"
#include "store/ProfileStore.h"

#include <stdexcept>

namespace padwright::testing {

namespace {

struct StoreRefused final : IMessageBoxes {
    void Warning(std::string_view text, std::string_view) override {
        throw std::runtime_error(std::string(text));
    }
    void Error(std::string_view text) override { throw std::runtime_error(std::string(text)); }
};

} // namespace

FollowingProgram::FollowingProgram(const std::string& pad,
                                   const std::map<std::string, std::string>& desktop) {
    const std::string socket = box.Root() + "/bus";
    bus = std::make_unique<Child>(std::vector<std::string>{"/usr/bin/dbus-daemon", "--session",
                                                           "--nofork",
                                                           "--address=unix:path=" + socket},
                                  std::map<std::string, std::string>{});
    if (!WaitUntil([&] { return std::filesystem::exists(socket); }, Millis(5000)))
        throw std::runtime_error("the session bus did not start");
    env = desktop;
    env.insert({{"XDG_CONFIG_HOME", box.Config()},
                {"XDG_RUNTIME_DIR", box.Runtime()},
                {"HOME", box.Root() + "/home"},
                {"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + socket},
                {"PADWRIGHT_FIXTURE_PAD", pad}});

    StableList<TProfile> profiles;
    for (const auto& [name, key] : {std::pair{"Desk", "VK_A"}, {"Game", "VK_B"}})
        AssignFunction(profiles.push_back(NewProfile(name)).Mappings[ButtonSlot(0)], key);
    StoreRefused boxes;
    ProfileStore(boxes, box.Work() + "/Padwright.pro").Save(profiles);
    const std::string guid = GuidToString(InstanceGuid(LoadEvemuFile(pad).description));
    WriteFile(box.SettingsFile(), "[Joystick0]\nName=USB Gamepad\nID=0\nProfile=1\nGUID=" + guid +
                                      "\n\n[Programs]\n1\\Program=GAME.EXE\n1\\Profile=2\n"
                                      "2\\Program=org.freedesktop.weston.flower\n2\\Profile=2\n"
                                      "size=2\n");
    program = std::make_unique<Child>(std::vector<std::string>{FIXTURE_PROGRAM}, env, box.Work());
}

std::string FollowingProgram::StatusLines() {
    const std::string out = box.Root() + "/status";
    Child command({"/bin/sh", "-c", PADWRIGHT_BINARY " --status >" + out}, env);
    return command.Wait(Millis(20000)) == 0 ? ReadFile(out) : "failed";
}

FollowingDesk::FollowingDesk(const std::string& pad)
    : game(Open("Game", "game.exe", 0)), editor(Open("Editor", "editor", 0)),
      run(pad, {{"DISPLAY", x.Name()}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", "xcb"}}) {}

bool FollowingDesk::Holds(KeySym key) const {
    char keys[32] = {};
    XQueryKeymap(x.X(), keys);
    const KeyCode code = XKeysymToKeycode(x.X(), key);
    return (keys[code / 8] >> (code % 8) & 1) != 0;
}

} // namespace padwright::testing
