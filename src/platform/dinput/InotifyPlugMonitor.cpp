#include "platform/dinput/PlugMonitor.h"

#include "platform/Descriptor.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace padwright {

namespace {

constexpr std::uint32_t DirectoryEvents =
    IN_CREATE | IN_DELETE | IN_ATTRIB | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE_SELF | IN_ONLYDIR;

std::string ParentOf(const std::string& dir) {
    const std::string parent = std::filesystem::path(dir).parent_path();
    return parent.empty() ? std::string(".") : parent;
}

class InotifyPlugMonitor final : public IPlugMonitor {
public:
    InotifyPlugMonitor(UniqueFd fd, const std::string& inputDir)
        : fd_(std::move(fd)), dir_(inputDir), parent_(ParentOf(inputDir)),
          leaf_(std::filesystem::path(inputDir).filename()) {
        Arm();
    }
    int Fd() const override { return fd_.Get(); }
    const char* Kind() const override { return "inotify"; }

    bool Drain() override {
        bool any = false, rearm = false;
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t n = read(fd_.Get(), buffer, sizeof buffer);
            if (n <= 0 && rearm) {
                // Watching anew queues the old watch's removal: read that too, so nothing
                // is left to wake the event loop for.
                Arm();
                rearm = false;
                continue;
            }
            if (n <= 0)
                break; // EAGAIN: all read
            for (ssize_t at = 0; at < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
                at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
                const std::string_view name = e->len ? std::string_view(e->name) : "";
                if (e->mask & IN_Q_OVERFLOW) {
                    any = true;
                } else if (e->wd == dirWatch_) {
                    if (e->mask & (IN_DELETE_SELF | IN_IGNORED)) {
                        dirWatch_ = -1;
                        rearm = any = true;
                    } else if (name.starts_with("event")) {
                        any = true;
                    }
                } else if (e->wd == parentWatch_ && name == leaf_) {
                    // The directory appeared, maybe with nodes already in it.
                    rearm = any = true;
                }
            }
        }
        return any;
    }

private:
    // Watches the directory, or its parent while it does not exist (devtmpfs makes it with
    // the first input device).
    void Arm() {
        if (dirWatch_ < 0)
            dirWatch_ = inotify_add_watch(fd_.Get(), dir_.c_str(), DirectoryEvents);
        if (dirWatch_ < 0 && parentWatch_ < 0) {
            parentWatch_ =
                inotify_add_watch(fd_.Get(), parent_.c_str(), IN_CREATE | IN_MOVED_TO | IN_ONLYDIR);
            // It may have appeared between the two calls.
            dirWatch_ = inotify_add_watch(fd_.Get(), dir_.c_str(), DirectoryEvents);
        }
        if (dirWatch_ >= 0 && parentWatch_ >= 0) {
            inotify_rm_watch(fd_.Get(), parentWatch_);
            parentWatch_ = -1;
        }
    }

    UniqueFd fd_;
    std::string dir_, parent_, leaf_;
    int dirWatch_ = -1;
    int parentWatch_ = -1;
};

} // namespace

std::unique_ptr<IPlugMonitor> OpenInotifyPlugMonitor(const std::string& inputDir) {
    UniqueFd fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (!fd)
        return nullptr;
    return std::make_unique<InotifyPlugMonitor>(std::move(fd), inputDir);
}

} // namespace padwright
