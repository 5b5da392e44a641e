#include "EventNode.h"

#include <libevdev/libevdev.h>

#include <bitset>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sys/ioctl.h>
#include <thread>
#include <time.h>
#include <unistd.h>

namespace padwright::vm {

void PrintTo(const Ev& e, std::ostream* os) {
    const char* type = libevdev_event_type_get_name(e.type);
    const char* code = libevdev_event_code_get_name(e.type, e.code);
    *os << "{" << (type ? type : "?") << " " << (code ? code : "?") << " " << e.value << "}";
}

std::string NodeNamed(const std::string& name, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    do {
        std::string found;
        if (DIR* dir = opendir("/sys/class/input")) {
            while (dirent* entry = readdir(dir)) {
                const std::string node = entry->d_name;
                if (node.rfind("event", 0) != 0)
                    continue;
                std::ifstream file("/sys/class/input/" + node + "/device/name");
                std::string text;
                if (std::getline(file, text) && text == name)
                    found = "/dev/input/" + node;
            }
            closedir(dir);
        }
        if (!found.empty() && access(found.c_str(), R_OK) == 0)
            return found;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    } while (std::chrono::steady_clock::now() < end);
    return {};
}

EventNode::EventNode(const std::string& path)
    : fd_(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {
    // Time stamps on the clock std::chrono::steady_clock reads, to measure against.
    int clock = CLOCK_MONOTONIC;
    if (fd_ >= 0)
        ioctl(fd_, EVIOCSCLOCKID, &clock);
}

EventNode::~EventNode() {
    if (fd_ >= 0)
        close(fd_);
}

std::vector<Ev> EventNode::Drain(bool& endsInReport) {
    std::vector<Ev> out;
    input_event e;
    endsInReport = false;
    while (read(fd_, &e, sizeof e) == sizeof e) {
        endsInReport = e.type == EV_SYN && e.code == SYN_REPORT;
        // A full queue is told, so that a count of what was typed can tell it was cut short.
        if (e.type != EV_SYN || e.code == SYN_DROPPED)
            out.push_back({e.type, e.code, e.value});
    }
    return out;
}

bool EventNode::WaitFor(const std::function<bool(const Ev&)>& match,
                        std::chrono::milliseconds limit, std::vector<Ev>* seen,
                        std::chrono::steady_clock::time_point* stamp) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        input_event e;
        while (read(fd_, &e, sizeof e) == sizeof e) {
            if (e.type == EV_SYN)
                continue;
            const Ev ev{e.type, e.code, e.value};
            if (seen)
                seen->push_back(ev);
            if (match(ev)) {
                if (stamp)
                    *stamp = std::chrono::steady_clock::time_point(
                        std::chrono::seconds(e.input_event_sec) +
                        std::chrono::microseconds(e.input_event_usec));
                return true;
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) < 0 || (p.revents & (POLLERR | POLLHUP)))
            return false;
    }
}

bool EventNode::KeyDown(unsigned code) const {
    unsigned char bits[KEY_CNT / 8 + 1] = {};
    if (ioctl(fd_, EVIOCGKEY(sizeof bits), bits) < 0)
        return false;
    return bits[code / 8] & (1u << (code % 8));
}

} // namespace padwright::vm
