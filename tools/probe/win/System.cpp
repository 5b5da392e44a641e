#include "System.h"

#include "platform/dinput/win/WinDirectInput.h"

namespace padwright::probe {

DirectInputEntry SystemDirectInput() {
    return DirectInput8Create;
}

// Windows ships no table of the Linux codes; fixture devices show them in hex.
std::string KernelCodeName(unsigned, unsigned) {
    return {};
}

} // namespace padwright::probe
