#pragma once
#include "platform/dinput/DirectInput.h"

#include <string_view>

namespace padwright {

// The English sentence for a DirectInput result code; "Unknown Error" for any code it does not
// know, success codes included. Pure lookup.
std::string_view DirectInputErrorText(HRESULT code);

} // namespace padwright
