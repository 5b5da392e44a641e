#include "System.h"

#include "platform/dinput/LibevdevKernel.h"

#include <libevdev/libevdev.h>

namespace padwright::probe {

DirectInputEntry SystemDirectInput() {
    return DirectInput8Create;
}

std::string KernelCodeName(unsigned type, unsigned code) {
    const char* name = libevdev_event_code_get_name(type, code);
    return name != nullptr ? name : "";
}

} // namespace padwright::probe
