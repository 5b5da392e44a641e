#pragma once
#include "engine/Lists.h"

namespace padwright {

// Start-up, after discovery: a remembered controller that is attached again under a new
// instance GUID is recognised by its name (as the settings keep it: trimmed, otherwise exact)
// and joystick ID, and takes the GUID of the first such found controller. Nothing else is
// copied; unmatched ones keep their stored GUID.
void RefreshActiveGuids(TLists& lists);

} // namespace padwright
