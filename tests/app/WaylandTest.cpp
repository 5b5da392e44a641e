// The real program as a client of a real Wayland compositor (weston, headless) with no X server
// and no XWayland: the window is created through the Qt Wayland plugin and the run ends cleanly.
#include "support/XSession.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <regex>

namespace padwright::testing {
namespace {

// The end of the program's standard error: the protocol log before it is long.
std::string Tail(const std::string& text) {
    return text.size() > 4000 ? text.substr(text.size() - 4000) : text;
}

namespace fs = std::filesystem;

TEST(WaylandTest, WindowAppearsAsAWaylandClientAndTheRunEndsCleanly) {
    ASSERT_TRUE(fs::exists("/usr/bin/weston"))
        << "weston is missing (scripts/apt-packages-test.txt)";
    Sandbox box;
    const std::string socket = "padwright-test-" + std::to_string(getpid());
    std::map<std::string, std::string> env{
        {"DISPLAY", ""},
        {"XDG_RUNTIME_DIR", box.Runtime()},
        {"XDG_CONFIG_HOME", box.Config()},
        {"HOME", box.Root() + "/home"},
        {"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + box.Root() + "/no-bus"},
    };
    Child weston({"/usr/bin/weston", "--backend=headless-backend.so", "--shell=kiosk-shell.so",
                  "--socket=" + socket},
                 env, box.Root());
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(box.Runtime() + "/" + socket); }, Millis(10000)))
        << weston.Stderr();

    env["WAYLAND_DISPLAY"] = socket;
    env["QT_QPA_PLATFORM"] = "wayland";
    env["WAYLAND_DEBUG"] = "client"; // the protocol as the program speaks it, on standard error
#if defined(__SANITIZE_ADDRESS__)
    // libwayland and Qt's Wayland plugin leave buffers to the process's end and have no frame
    // pointers: only the slow unwinder reaches their frames, which the suppressions name.
    const char* asan = std::getenv("ASAN_OPTIONS");
    env["ASAN_OPTIONS"] = std::string(asan ? asan : "") + ":fast_unwind_on_malloc=0";
#endif
    Child program({PADWRIGHT_BINARY}, env, box.Work());
    // The compositor configured a toplevel titled Padwright, and the program drew into it.
    const std::regex title(R"(-> xdg_toplevel@(\d+)\.set_title\("Padwright"\))");
    std::string toplevel;
    auto configuredAndDrawn = [&] {
        const std::string err = program.Stderr();
        std::smatch m;
        if (toplevel.empty() && std::regex_search(err, m, title))
            toplevel = m[1];
        return !toplevel.empty() &&
               err.find("xdg_toplevel@" + toplevel + ".configure(") != std::string::npos &&
               err.find(".attach(wl_buffer@") != std::string::npos;
    };
    ASSERT_TRUE(WaitUntil(configuredAndDrawn, Millis(15000))) << program.Stderr().substr(0, 4000);
    EXPECT_TRUE(program.Running());

    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait(Millis(10000)), 0) << Tail(program.Stderr());
    EXPECT_FALSE(fs::exists(box.Runtime() + "/Padwright.lock"));
    EXPECT_TRUE(weston.Running()); // the compositor saw a well-behaved client
}

} // namespace
} // namespace padwright::testing
