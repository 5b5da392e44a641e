#pragma once
// The program following the program in front, for its benchmark and its test: a private session
// bus, and the program over a fixture pad whose button 0 types A on the pad's own profile "Desk"
// and B on "Game", which rules give every controller while game.exe or weston's flower is in
// front. FollowingDesk puts it on Xvfb with the caller as the window manager. Needs
// FIXTURE_PROGRAM and PADWRIGHT_BINARY defined.
#include "../../tests/focus/WindowManager.h"

namespace padwright::testing {

class FollowingProgram {
public:
    // `pad`: a device description; its recorded events are what the pad reports from the start.
    // `desktop`: the variables that put the program on its display.
    FollowingProgram(const std::string& pad, const std::map<std::string, std::string>& desktop);

    // What `padwright --status` prints; "failed" when it fails.
    std::string StatusLines();

    Sandbox box;
    std::map<std::string, std::string> env;
    std::unique_ptr<Child> bus, program;
};

class FollowingDesk : public WindowManager {
public:
    explicit FollowingDesk(const std::string& pad);

    // Whether the X server holds `key` down.
    bool Holds(KeySym key) const;

    Window game = 0, editor = 0; // client windows of game.exe and of a program no rule names
    FollowingProgram run;
};

} // namespace padwright::testing
