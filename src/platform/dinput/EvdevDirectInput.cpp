#include "platform/dinput/EvdevDirectInput.h"

#include "platform/Utf8Fit.h"
#include "platform/dinput/Classification.h"
#include "platform/dinput/EvdevDevice.h"
#include "platform/dinput/InstanceGuid.h"
#include "platform/dinput/JoystickIds.h"

#include <cerrno>
#include <cstring>

namespace padwright {

namespace {

bool IsPermissionError(int error) {
    return error == EACCES || error == EPERM;
}

} // namespace

std::optional<NodeMemory::Seen> NodeMemory::Recall(const std::string& node,
                                                   const NodeStamp& stamp) const {
    const std::lock_guard lock(mutex_);
    const auto it = seen_.find(node);
    if (it == seen_.end() || !(it->second.stamp == stamp))
        return std::nullopt;
    return it->second;
}

void NodeMemory::Replace(std::map<std::string, Seen> seen) {
    const std::lock_guard lock(mutex_);
    seen_ = std::move(seen);
}

EvdevDirectInput::EvdevDirectInput(std::shared_ptr<IEvdevKernel> kernel,
                                   std::shared_ptr<JoystickIdTable> ids,
                                   std::shared_ptr<NodeMemory> memory)
    : kernel_(std::move(kernel)), ids_(ids ? std::move(ids) : std::make_shared<JoystickIdTable>()),
      memory_(memory ? std::move(memory) : std::make_shared<NodeMemory>()) {}

bool EvdevDirectInput::Look(const std::string& node, std::map<std::string, NodeMemory::Seen>& seen,
                            NodeMemory::Seen& out) {
    // The stamp before the look: a node replaced in between is looked at again next time.
    const bool stamped = kernel_->Stamp(node, out.stamp);
    std::optional<NodeMemory::Seen> recalled;
    if (stamped)
        recalled = memory_->Recall(node, out.stamp);
    if (recalled && !recalled->denied) {
        out = std::move(*recalled);
    } else {
        // A node denied before is tried again all the same: a failed open costs one call, and
        // access granted within the clock tick the node was made in leaves its stamp as it was.
        std::unique_ptr<IEvdevNode> open;
        const int error = kernel_->Open(node, open);
        if (error == 0) {
            out.denied = false;
            out.description = open->Description();
        } else if (!IsPermissionError(error)) {
            return false; // vanished meanwhile
        } else if (recalled) {
            out = std::move(*recalled);
        } else if (kernel_->Peek(node, out.description)) {
            out.denied = true;
        } else {
            return false;
        }
    }
    if (stamped)
        seen[node] = out;
    return true;
}

void EvdevDirectInput::Scan() {
    found_.clear();
    std::map<std::string, NodeMemory::Seen> seen;
    std::vector<std::string> nodes;
    if (!kernel_->ListNodes(nodes))
        nodes.clear(); // no input devices at all: simply no controllers, and nothing to keep
    for (const std::string& node : nodes) {
        NodeMemory::Seen now;
        if (!Look(node, seen, now) || !IsGameController(now.description))
            continue;
        EvdevDescription& description = now.description;
        const GUID identity = InstanceGuid(description);
        GUID guid = identity;
        // Identical devices with neither a serial of their own nor a port to tell them apart
        // (virtual pads, cheap pads sharing one serial) would share a GUID, and opening any of
        // them would open the first: later ones are numbered in node order instead.
        for (int copy = 2; Lookup(guid) != nullptr; ++copy) {
            EvdevDescription numbered = description;
            (numbered.uniq.empty() ? numbered.phys : numbered.uniq) += '#' + std::to_string(copy);
            guid = InstanceGuid(numbered);
        }
        found_.push_back({node, guid, identity, 0, now.denied, std::move(description)});
    }
    memory_->Replace(std::move(seen));
    // IDs once every GUID is known: a remembered controller's ID goes to a newcomer of the
    // same name only while the remembered one is not attached.
    std::vector<GUID> present;
    for (const Found& f : found_)
        present.push_back(f.guid);
    for (Found& f : found_)
        f.joystickId = ids_->IdFor(f.guid, f.description.name, present);
}

HRESULT EvdevDirectInput::EnumDevices(DWORD devType, const EnumDevicesCallback& callback,
                                      void* context, DWORD) {
    if (!callback)
        return E_POINTER;
    Scan();
    if (devType != DI8DEVCLASS_GAMECTRL && devType != DI8DEVCLASS_ALL)
        return DI_OK;
    // The callback may create devices, which may rescan: walk a copy.
    const std::vector<Found> found = found_;
    for (const Found& f : found) {
        DIDEVICEINSTANCEA instance;
        std::memset(&instance, 0, sizeof instance);
        instance.dwSize = sizeof instance;
        instance.guidInstance = f.guid;
        instance.guidProduct = ProductGuid(f.description);
        instance.dwDevType = DI8DEVTYPE_JOYSTICK;
        CopyUtf8Terminated(instance.tszInstanceName, f.description.name);
        CopyUtf8Terminated(instance.tszProductName, f.description.name);
        if (callback(instance, context) == DIENUM_STOP)
            break;
    }
    return DI_OK;
}

const EvdevDirectInput::Found* EvdevDirectInput::Lookup(const GUID& instance) const {
    for (const Found& f : found_)
        if (f.guid == instance)
            return &f;
    return nullptr;
}

HRESULT EvdevDirectInput::Open(const Found& found, std::shared_ptr<IDirectInputDevice8>& device) {
    std::unique_ptr<IEvdevNode> node;
    const int error = kernel_->Open(found.node, node);
    if (IsPermissionError(error)) {
        // Denied is only true of the controller if the node is still that controller.
        EvdevDescription there;
        const bool same = kernel_->Peek(found.node, there) && IsGameController(there) &&
                          InstanceGuid(there) == found.identity;
        return same ? E_ACCESSDENIED : DIERR_DEVICENOTREG;
    }
    if (error != 0)
        return DIERR_DEVICENOTREG;
    // Node numbers are reused: make sure it is still the same device.
    const EvdevDescription& d = node->Description();
    if (!IsGameController(d) || !(InstanceGuid(d) == found.identity))
        return DIERR_DEVICENOTREG;
    device = std::make_shared<EvdevDevice>(std::move(node), found.joystickId);
    return DI_OK;
}

// Opens the node where the last scan saw the controller. A controller plugged in again since
// sits elsewhere, and its old node may now belong to anything: the caller rescans
// (EnumDevices) and tries again, once for all its controllers rather than once for each.
HRESULT EvdevDirectInput::CreateDevice(const GUID& instance,
                                       std::shared_ptr<IDirectInputDevice8>& device) {
    device.reset();
    if (const Found* f = Lookup(instance))
        return Open(*f, device);
    return DIERR_DEVICENOTREG;
}

} // namespace padwright
