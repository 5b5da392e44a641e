#include "platform/dinput/NodeCloser.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace padwright {

namespace {

class NodeCloser {
public:
    bool Start() {
        try {
            std::thread([this] { Loop(); }).detach();
            return true;
        } catch (const std::system_error&) {
            return false;
        }
    }

    void Close(int fd) {
        {
            const std::lock_guard lock(mutex_);
            queue_.push_back(fd);
        }
        ready_.notify_one();
    }

private:
    // Runs for the life of the process: one still closing at exit is closed by the exit.
    [[noreturn]] void Loop() {
        for (;;) {
            std::unique_lock lock(mutex_);
            ready_.wait(lock, [this] { return !queue_.empty(); });
            const int fd = queue_.front();
            queue_.pop_front();
            lock.unlock();
            close(fd);
        }
    }

    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<int> queue_;
};

// Never destroyed: a node may be closed while static objects are torn down at exit.
NodeCloser* TheCloser() {
    static NodeCloser* const closer = [] {
        auto* made = new NodeCloser;
        if (made->Start())
            return made;
        delete made;
        return static_cast<NodeCloser*>(nullptr);
    }();
    return closer;
}

} // namespace

void CloseEventNode(int fd) {
    if (fd < 0)
        return;
    if (NodeCloser* closer = TheCloser())
        closer->Close(fd);
    else
        close(fd);
}

} // namespace padwright
