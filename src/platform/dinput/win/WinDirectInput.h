#pragma once
// The seam over Windows' own DirectInput 8, through its ANSI interface IDirectInput8A. Result
// codes, object GUIDs, properties and DIJOYSTATE2 are DirectInput's own, so most calls pass
// straight through; what differs is translated here: names arrive as UTF-8 (the programs'
// manifest sets the ANSI code page to UTF-8; the instance-name property, UTF-16 in DirectInput,
// is converted), and SetEventNotification hands out an event this side makes (see HANDLE).
#include "platform/dinput/DirectInput.h"

#include <memory>

namespace padwright {

// DirectInput8Create for this machine's controllers.
HRESULT DirectInput8Create(std::shared_ptr<IDirectInput8>& out);

} // namespace padwright
