#pragma once
#include "platform/dinput/DirectInput.h"
#include "platform/dinput/EvdevDescription.h"

namespace padwright {

// A GUID that stays the same for the same device on the same port across restarts and
// replugging: a hash of bus, vendor, product, version and the serial, or the physical path when
// the device has no serial.
GUID InstanceGuid(const EvdevDescription& device);

// DirectInput's product GUID shape: product and vendor in Data1, then "PIDVID".
GUID ProductGuid(const EvdevDescription& device);

} // namespace padwright
