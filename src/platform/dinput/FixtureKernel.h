#pragma once
// An in-memory stand-in for the kernel's event nodes: devices come from descriptions, events
// are queued by hand or replayed from a recording, and devices can be unplugged, plugged in
// again or made unreadable. Every open handle gets its own copy of the events, as with the
// kernel.
#include "platform/dinput/DirectInput.h"
#include "platform/dinput/EvdevKernel.h"
#include "platform/dinput/JoystickIds.h"
#include "platform/dinput/PlugMonitor.h"
#include "platform/dinput/WakeSignal.h"

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace padwright {

class NodeMemory;

class FixtureKernel final : public IEvdevKernel {
public:
    FixtureKernel();

    // A new node with the next free number, or with number `at` (which the kernel hands out
    // again once its device is gone). `recorded` events are pending on every handle as it is
    // opened, so a freshly opened device reads them on its first poll.
    int Add(EvdevDescription description, std::vector<EvdevEvent> recorded = {}, int at = -1);
    // Delivers events to every open handle of the node and updates its current state. What
    // the kernel would drop is dropped (codes the device lacks, axis moves within the fuzz,
    // keys already in that state, empty frames), and axis values pass its fuzz filter.
    void Push(int node, const std::vector<EvdevEvent>& events);
    // The device vanishes: open handles report it gone, and the node disappears.
    void Unplug(int node);
    // The same device comes back under a new node number, which is returned.
    int Replug(int node);
    // A node that is there but cannot be opened for lack of permission.
    void SetDenied(int node, bool denied);
    // Without the input directory there are no nodes at all.
    void SetInputDirectory(bool present) { directory_ = present; }

    // Word of every Add, Unplug, Replug and SetDenied, as the kernel's monitors give it.
    std::unique_ptr<IPlugMonitor> Monitor();

    static std::string NodePath(int node);
    // How often the node list was read: one per scan of the nodes.
    int Scans() const { return scans_; }
    // How many handles were opened on the nodes, all told.
    int Opens() const { return opens_; }
    // What the nodes told, shared by the DirectInput objects over this kernel as the
    // process's one is by those over the real kernel.
    const std::shared_ptr<NodeMemory>& Memory() const { return memory_; }

    bool ListNodes(std::vector<std::string>& nodes) override;
    int Open(const std::string& node, std::unique_ptr<IEvdevNode>& out) override;
    bool Peek(const std::string& node, EvdevDescription& out) override;
    // Each Add and Replug makes a new inode; SetDenied changes the node as a chmod would.
    bool Stamp(const std::string& node, NodeStamp& out) override;

    // One open handle. Its signal is set while events are queued or the device is gone, as
    // a kernel event node polls readable.
    struct Client {
        std::deque<EvdevEvent> queue;
        bool gone = false;
        WakeSignal signal;
    };

private:
    struct Node {
        EvdevDescription current;
        std::vector<EvdevEvent> recorded;
        bool present = true;
        bool denied = false;
        bool frameOpen = false; // events passed since the last SYN_REPORT
        std::vector<std::weak_ptr<Client>> clients;
        std::uint64_t inode = 0;
        std::int64_t changes = 0;
    };
    Node* Find(const std::string& path);
    void Notify();

    std::map<int, Node> nodes_;
    int next_ = 0;
    int scans_ = 0;
    int opens_ = 0;
    std::uint64_t inodes_ = 0;
    std::shared_ptr<NodeMemory> memory_;
    bool directory_ = true;
    std::vector<std::weak_ptr<WakeSignal>> monitors_;
};

// A DirectInput object over fixture devices, the way DirectInput8Create gives the real one.
// `ids`: the joystick ID table to share across objects; null gives the object its own.
std::shared_ptr<IDirectInput8> CreateFixtureDirectInput(std::shared_ptr<FixtureKernel> kernel,
                                                        std::shared_ptr<JoystickIdTable> ids = {});

} // namespace padwright
