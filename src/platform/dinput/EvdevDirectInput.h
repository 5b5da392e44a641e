#pragma once
// The DirectInput object over the kernel's event nodes: discovery of game controllers and
// creation of their devices. Whether the nodes are real or in memory is up to the kernel seam.
#include "platform/dinput/DirectInput.h"
#include "platform/dinput/EvdevKernel.h"
#include "platform/dinput/JoystickIds.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace padwright {

// What each event node told when it was last opened (or peeked at, when it could not be),
// under the stamp it had then. Opening a node and reading its description costs dozens of
// ioctls, and every look at the controllers after plugging scans all nodes on the thread that
// reads the others: a scan opens only the nodes that are new or changed. It outlives each
// DirectInput object (every check after plugging makes one), so it can be shared.
class NodeMemory {
public:
    struct Seen {
        NodeStamp stamp;
        bool denied = false;
        EvdevDescription description;
    };
    // What `node` told under this same stamp; null when it was not seen so.
    std::optional<Seen> Recall(const std::string& node, const NodeStamp& stamp) const;
    // What the latest scan saw replaces all that was kept: a node gone is forgotten.
    void Replace(std::map<std::string, Seen> seen);

private:
    mutable std::mutex mutex_;
    std::map<std::string, Seen> seen_;
};

class EvdevDirectInput final : public IDirectInput8 {
public:
    // `ids` is the process's joystick ID table and `memory` what the kernel's nodes told;
    // without them the object keeps its own.
    explicit EvdevDirectInput(std::shared_ptr<IEvdevKernel> kernel,
                              std::shared_ptr<JoystickIdTable> ids = nullptr,
                              std::shared_ptr<NodeMemory> memory = nullptr);

    HRESULT EnumDevices(DWORD devType, const EnumDevicesCallback& callback, void* context,
                        DWORD flags) override;
    HRESULT CreateDevice(const GUID& instance,
                         std::shared_ptr<IDirectInputDevice8>& device) override;

    struct Found {
        std::string node;
        GUID guid;
        GUID identity; // the GUID its ids alone give; copies of one device share it
        DWORD joystickId;
        bool denied; // there, but not readable for this user
        EvdevDescription description;
    };
    // The controllers the last scan found, for tools that explain what they see.
    const std::vector<Found>& Scanned() const { return found_; }

private:
    void Scan();
    // What `node` tells now, from the memory while its stamp is unchanged, and kept in `seen`
    // when it has a stamp. False when it vanished meanwhile or nothing can be learnt about it.
    bool Look(const std::string& node, std::map<std::string, NodeMemory::Seen>& seen,
              NodeMemory::Seen& out);
    const Found* Lookup(const GUID& instance) const;
    HRESULT Open(const Found& found, std::shared_ptr<IDirectInputDevice8>& device);

    std::shared_ptr<IEvdevKernel> kernel_;
    std::shared_ptr<JoystickIdTable> ids_;
    std::shared_ptr<NodeMemory> memory_;
    std::vector<Found> found_;
};

} // namespace padwright
