#pragma once
// The real kernel: /dev/input/event* read through libevdev, and sysfs for nodes that this user
// may not open.
#include "platform/dinput/DirectInput.h"
#include "platform/dinput/EvdevKernel.h"
#include "platform/dinput/JoystickIds.h"

#include <memory>
#include <string>

namespace padwright {

class LibevdevKernel final : public IEvdevKernel {
public:
    explicit LibevdevKernel(std::string inputDir = "/dev/input",
                            std::string sysfsDir = "/sys/class/input");

    bool ListNodes(std::vector<std::string>& nodes) override;
    int Open(const std::string& node, std::unique_ptr<IEvdevNode>& out) override;
    bool Peek(const std::string& node, EvdevDescription& out) override;
    bool Stamp(const std::string& node, NodeStamp& out) override;

private:
    std::string inputDir_;
    std::string sysfsDir_;
};

// DirectInput8Create for this machine's controllers.
HRESULT DirectInput8Create(std::shared_ptr<IDirectInput8>& out);
// The same with the process's joystick ID table, which outlives each object.
HRESULT CreateEvdevDirectInput(std::shared_ptr<IDirectInput8>& out,
                               std::shared_ptr<JoystickIdTable> ids);

} // namespace padwright
