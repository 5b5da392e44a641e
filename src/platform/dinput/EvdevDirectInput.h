#pragma once
// The DirectInput object over the kernel's event nodes: discovery of game controllers and
// creation of their devices. Whether the nodes are real or in memory is up to the kernel seam.
#include "platform/dinput/DirectInput.h"
#include "platform/dinput/EvdevKernel.h"
#include "platform/dinput/JoystickIds.h"

#include <memory>
#include <string>
#include <vector>

namespace padwright {

class EvdevDirectInput final : public IDirectInput8 {
public:
    // `ids` is the process's joystick ID table; without one the object keeps its own.
    explicit EvdevDirectInput(std::shared_ptr<IEvdevKernel> kernel,
                              std::shared_ptr<JoystickIdTable> ids = nullptr);

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
    const Found* Lookup(const GUID& instance) const;
    HRESULT Open(const Found& found, std::shared_ptr<IDirectInputDevice8>& device);

    std::shared_ptr<IEvdevKernel> kernel_;
    std::shared_ptr<JoystickIdTable> ids_;
    std::vector<Found> found_;
};

} // namespace padwright
