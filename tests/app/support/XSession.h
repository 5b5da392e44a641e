#pragma once
// What end-to-end runs of the real program need: a private X server, optionally a tray host,
// the program started with its own environment, and a look at the windows it maps.
#include <chrono>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "XvfbServer.h"

#include <sys/types.h>

typedef struct _XDisplay Display;
typedef unsigned long XID;

namespace padwright::testing {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::milliseconds;

// A child process; killed (SIGKILL) and reaped on destruction if still running.
class Child {
public:
    Child(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
          const std::string& workdir = {}, bool quiet = true);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t Pid() const { return pid_; }
    bool Running();
    // The exit code, or -(signal) when it was killed; nothing when it did not end in time.
    std::optional<int> Wait(Millis timeout);
    void Signal(int signal);
    std::string Stderr() const; // what it wrote on standard error (when not quiet)

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
    std::string stderrPath_;
};

// Xvfb on a display of its own, with one client connection for the test.
class XServer {
public:
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    const std::string& Name() const { return name_; } // ":N"
    Display* X() const { return display_; }

    // A top-level window of a program (one with a WM_CLASS) whose WM_NAME is `title`, mapped
    // (viewable) or not.
    std::optional<XID> FindWindow(const std::string& title, bool viewableOnly) const;
    bool Viewable(XID window) const;
    // What the window manager's close box sends: WM_DELETE_WINDOW.
    void Close(XID window) const;
    // Event-driven wait for a window titled `title` to be mapped: call WatchMaps() before
    // starting the program, then this. True when it was mapped before `deadline`.
    void WatchMaps() const;
    bool WaitForMap(const std::string& title, Clock::time_point deadline) const;
    // Whether an XEmbed tray host owns the tray selection of screen 0.
    bool HasTrayHost() const;
    // Top-level windows of the process `pid` (by _NET_WM_PID) that another client reparented,
    // as a tray host does with the icons it embeds.
    bool HasEmbeddedWindowOf(pid_t pid) const;

private:
    XvfbServer server_;
    std::string name_;
    Display* display_ = nullptr;
};

// Fresh folders for one run of the program (settings, runtime folder, working folder, home)
// and the environment that points it at them and at `x`. Removed on destruction.
class Sandbox {
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    const std::string& Root() const { return root_; }
    std::string Config() const { return root_ + "/config"; }
    std::string Runtime() const { return root_ + "/run"; }
    std::string Work() const { return root_ + "/work"; }
    // The settings file QSettings("Vemoskar", "Padwright") reads under Config().
    std::string SettingsFile() const { return Config() + "/Vemoskar/Padwright.conf"; }
    // No StatusNotifierItem host is reachable: the notification area is an XEmbed tray or none.
    std::map<std::string, std::string> Environment(const XServer& x) const;

private:
    std::string root_;
};

// A whole file's bytes ("" when it cannot be read), and a file written whole, its folders made.
std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& text);

// Polls `condition` every 10 ms until it holds or `timeout` passes.
template <typename Condition> bool WaitUntil(Condition condition, Millis timeout) {
    const auto end = Clock::now() + timeout;
    for (;;) {
        if (condition())
            return true;
        if (Clock::now() >= end)
            return false;
        struct timespec ten = {0, 10'000'000};
        nanosleep(&ten, nullptr);
    }
}

} // namespace padwright::testing
