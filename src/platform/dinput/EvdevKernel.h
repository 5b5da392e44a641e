#pragma once
// The thin part of the evdev implementation that talks to the kernel. The real one reads
// /dev/input through libevdev; an in-memory one serves device descriptions and queued events,
// so the same DirectInput code runs in tests and from fixtures.
#include "platform/dinput/EvdevDescription.h"
#include "platform/dinput/WaitHandle.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace padwright {

// What tells the device behind a node path, and the access to it, without opening the node:
// the device number, the inode (a node removed and made again for another device gets a new
// one, even under the same number) and the time of the node's last change of owner, mode or
// ACL (udev opening up a node it found after it appeared).
struct NodeStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t changedSeconds = 0;
    std::int64_t changedNanoseconds = 0;
    bool operator==(const NodeStamp&) const = default;
};

enum class ReadStatus { Event, Empty, Gone };

// One open event node.
class IEvdevNode {
public:
    virtual ~IEvdevNode() = default;
    // The node's identity, capabilities, ranges and current values as of opening.
    virtual const EvdevDescription& Description() const = 0;
    // The next pending event; Empty when none is pending, Gone once the device has vanished.
    virtual ReadStatus Next(EvdevEvent& event) = 0;
    // What is signalled while events are pending and stays signalled (or, a descriptor,
    // reports hang-up or an error) once the device is gone; NoWaitHandle when the node cannot
    // signal.
    virtual WaitHandle Signal() const { return NoWaitHandle; }
};

class IEvdevKernel {
public:
    virtual ~IEvdevKernel() = default;
    // The event nodes present, in ascending node number. False when there is no input device
    // directory at all.
    virtual bool ListNodes(std::vector<std::string>& nodes) = 0;
    // Opens a node for reading: 0, or the errno of the failure.
    virtual int Open(const std::string& node, std::unique_ptr<IEvdevNode>& out) = 0;
    // Describes a node without opening it (identity and capability bits, no ranges), for nodes
    // that cannot be opened. False when that is not possible either.
    virtual bool Peek(const std::string& node, EvdevDescription& out) = 0;
    // The node's stamp, read without opening it. False when there is none to be had (the node
    // is gone), and then nothing about the node may be taken from an earlier look.
    virtual bool Stamp(const std::string& node, NodeStamp& out) = 0;
};

} // namespace padwright
