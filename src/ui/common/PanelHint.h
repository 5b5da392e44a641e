#pragma once
// The settings panel's words while it has no rows: why it is blank and what to do next.
#include <string>

namespace padwright {

class Core;
struct TJoystick;

// `selected` is the active controller picked (null: none), `profileShown` whether a profile is
// picked for it; paragraphs are separated by an empty line. Empty while the panel has rows.
std::string PanelHintText(Core& core, const TJoystick* selected, bool profileShown, bool hasRows);

} // namespace padwright
