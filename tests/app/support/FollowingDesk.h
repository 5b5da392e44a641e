#pragma once
// The program following an X11 desktop, for the tests and the benchmarks: Xvfb with the caller as
// the window manager, a private session bus, and the program over a fixture pad whose button 0
// types A on the pad's own profile "Desk" and B on "Game", which a rule gives every controller
// while game.exe is in front. Needs FIXTURE_PROGRAM and PADWRIGHT_BINARY defined.
#include "../../focus/WindowManager.h"

namespace padwright::testing {

class FollowingDesk : public WindowManager {
public:
    // `pad`: a device description; its recorded events are what the pad reports from the start.
    explicit FollowingDesk(const std::string& pad);

    // What `padwright --status` prints; "failed" when it fails.
    std::string Status();
    // Whether the X server holds `key` down.
    bool Holds(KeySym key) const;

    Sandbox box;
    std::map<std::string, std::string> env;
    std::unique_ptr<Child> bus, program;
    Window game = 0, editor = 0; // client windows of game.exe and of a program no rule names
};

} // namespace padwright::testing
