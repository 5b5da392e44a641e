#include "platform/dinput/FixtureKernel.h"

#include "platform/dinput/EvdevDirectInput.h"
#include "platform/dinput/InstanceGuid.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace padwright {

namespace {

class FixtureNode final : public IEvdevNode {
public:
    FixtureNode(EvdevDescription description, std::shared_ptr<FixtureKernel::Client> client)
        : description_(std::move(description)), client_(std::move(client)) {}

    const EvdevDescription& Description() const override { return description_; }
    WaitHandle Signal() const override { return client_->signal.Handle(); }

    ReadStatus Next(EvdevEvent& event) override {
        // Like the kernel, a vanished device answers "gone" whatever was still buffered.
        if (client_->gone)
            return ReadStatus::Gone;
        if (client_->queue.empty()) {
            client_->signal.Lower();
            return ReadStatus::Empty;
        }
        event = client_->queue.front();
        client_->queue.pop_front();
        return ReadStatus::Event;
    }

private:
    EvdevDescription description_;
    std::shared_ptr<FixtureKernel::Client> client_;
};

// The kernel's smoothing of small axis moves (input_defuzz_abs_event): readers never see a
// move within half the axis' fuzz, and only part of a move within twice the fuzz.
std::int32_t Defuzz(std::int32_t value, std::int32_t old, std::int32_t fuzz) {
    if (fuzz) {
        if (value > old - fuzz / 2 && value < old + fuzz / 2)
            return old;
        if (value > old - fuzz && value < old + fuzz)
            return (old * 3 + value) / 4;
        if (value > old - fuzz * 2 && value < old + fuzz * 2)
            return (old + value) / 2;
    }
    return value;
}

// Whether the kernel passes `e` on to readers of a node in state `d`, and what it then
// delivers; the state moves on. It drops codes the device lacks, axis moves that the fuzz
// filter reduces to nothing, keys already in the state they report, and a report that would
// close an empty frame. `frameOpen` tells whether anything passed since the last report.
bool Filter(EvdevDescription& d, EvdevEvent& e, bool& frameOpen) {
    bool passes = true;
    if (e.type == EV_ABS) {
        passes = d.HasAbs(e.code);
        // Multitouch slots keep their own values, which the kernel filters per slot.
        if (passes && e.code < ABS_MT_SLOT) {
            AbsRange& r = d.absinfo[e.code];
            e.value = Defuzz(e.value, r.value, r.fuzz);
            passes = e.value != r.value;
            r.value = e.value;
        }
    } else if (e.type == EV_KEY) {
        passes = d.HasKey(e.code);
        // Auto-repeat (2) passes without changing the state.
        if (passes && e.value != 2) {
            passes = d.keysDown.test(e.code) != (e.value != 0);
            d.keysDown.set(e.code, e.value != 0);
        }
    } else if (e.type == EV_SYN && e.code == SYN_REPORT) {
        passes = frameOpen;
        frameOpen = false;
        return passes;
    }
    frameOpen = frameOpen || passes;
    return passes;
}

// The events of `events` that pass the filter, with the values readers see.
std::vector<EvdevEvent> Delivered(EvdevDescription& d, std::vector<EvdevEvent> events,
                                  bool& frameOpen) {
    std::erase_if(events, [&](EvdevEvent& e) { return !Filter(d, e, frameOpen); });
    return events;
}

class FixturePlugMonitor final : public IPlugMonitor {
public:
    explicit FixturePlugMonitor(std::shared_ptr<WakeSignal> signal) : signal_(std::move(signal)) {}
    int Fd() const override { return signal_->Handle(); }
    const char* Kind() const override { return "fixture"; }
    bool Drain() override { return signal_->Lower(); }

private:
    std::shared_ptr<WakeSignal> signal_;
};

} // namespace

FixtureKernel::FixtureKernel() : memory_(std::make_shared<NodeMemory>()) {}

std::unique_ptr<IPlugMonitor> FixtureKernel::Monitor() {
    auto shared = std::make_shared<WakeSignal>();
    if (shared->Handle() == NoWaitHandle)
        return nullptr;
    std::erase_if(monitors_, [](const std::weak_ptr<WakeSignal>& m) { return m.expired(); });
    monitors_.push_back(shared);
    return std::make_unique<FixturePlugMonitor>(std::move(shared));
}

void FixtureKernel::Notify() {
    for (const auto& weak : monitors_)
        if (auto signal = weak.lock())
            signal->Raise();
}

std::string FixtureKernel::NodePath(int node) {
    return "/dev/input/event" + std::to_string(node);
}

int FixtureKernel::Add(EvdevDescription description, std::vector<EvdevEvent> recorded, int at) {
    // Two copies of one description would share a GUID, which no two real devices on two
    // ports do: number the copies as if they sat on different ports.
    const GUID guid = InstanceGuid(description);
    int copies = 0;
    for (const auto& [number, node] : nodes_)
        if (node.present && InstanceGuid(node.current) == guid)
            ++copies;
    if (copies > 0) {
        description.phys += '#';
        description.phys += std::to_string(copies + 1);
    }
    // A recording plays from the description's values through the same filter as Push.
    EvdevDescription playing = description;
    bool frameOpen = false;
    recorded = Delivered(playing, std::move(recorded), frameOpen);
    const int number = at >= 0 ? at : next_;
    next_ = std::max(next_, number + 1);
    nodes_[number] =
        Node{std::move(description), std::move(recorded), true, false, false, {}, ++inodes_, 0};
    Notify();
    return number;
}

void FixtureKernel::Push(int number, const std::vector<EvdevEvent>& events) {
    Node& node = nodes_.at(number);
    const std::vector<EvdevEvent> delivered = Delivered(node.current, events, node.frameOpen);
    if (delivered.empty())
        return;
    for (auto& weak : node.clients)
        if (auto client = weak.lock()) {
            client->queue.insert(client->queue.end(), delivered.begin(), delivered.end());
            client->signal.Raise();
        }
}

void FixtureKernel::Unplug(int number) {
    Node& node = nodes_.at(number);
    node.present = false;
    for (auto& weak : node.clients)
        if (auto client = weak.lock()) {
            client->gone = true;
            client->signal.Raise();
        }
    node.clients.clear();
    Notify();
}

int FixtureKernel::Replug(int number) {
    Node old = nodes_.at(number);
    const int fresh = next_++;
    nodes_[fresh] = Node{
        std::move(old.current), std::move(old.recorded), true, old.denied, false, {}, ++inodes_, 0};
    Notify();
    return fresh;
}

void FixtureKernel::SetDenied(int number, bool denied) {
    Node& node = nodes_.at(number);
    node.denied = denied;
    ++node.changes;
    Notify();
}

FixtureKernel::Node* FixtureKernel::Find(const std::string& path) {
    for (auto& [number, node] : nodes_)
        if (node.present && NodePath(number) == path)
            return &node;
    return nullptr;
}

bool FixtureKernel::ListNodes(std::vector<std::string>& nodes) {
    nodes.clear();
    ++scans_;
    if (!directory_)
        return false;
    for (const auto& [number, node] : nodes_) // std::map keeps ascending node numbers
        if (node.present)
            nodes.push_back(NodePath(number));
    return true;
}

int FixtureKernel::Open(const std::string& path, std::unique_ptr<IEvdevNode>& out) {
    Node* node = directory_ ? Find(path) : nullptr;
    if (node == nullptr)
        return ENOENT;
    if (node->denied)
        return EACCES;
    auto client = std::make_shared<Client>();
    client->queue.assign(node->recorded.begin(), node->recorded.end());
    if (!client->queue.empty())
        client->signal.Raise();
    std::erase_if(node->clients, [](const std::weak_ptr<Client>& c) { return c.expired(); });
    node->clients.push_back(client);
    out = std::make_unique<FixtureNode>(node->current, std::move(client));
    ++opens_;
    return 0;
}

bool FixtureKernel::Peek(const std::string& path, EvdevDescription& out) {
    Node* node = directory_ ? Find(path) : nullptr;
    if (node == nullptr)
        return false;
    out = node->current;
    return true;
}

bool FixtureKernel::Stamp(const std::string& path, NodeStamp& out) {
    Node* node = directory_ ? Find(path) : nullptr;
    if (node == nullptr)
        return false;
    out = {0, node->inode, node->changes, 0}; // inodes are never reused here
    return true;
}

std::shared_ptr<IDirectInput8> CreateFixtureDirectInput(std::shared_ptr<FixtureKernel> kernel,
                                                        std::shared_ptr<JoystickIdTable> ids) {
    std::shared_ptr<NodeMemory> memory = kernel->Memory();
    return std::make_shared<EvdevDirectInput>(std::move(kernel), std::move(ids), std::move(memory));
}

} // namespace padwright
