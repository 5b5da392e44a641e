#pragma once
// What the settings panel and the control editor show for a mapping or a controller. Plain text,
// no widgets, so the rules are tested on their own.
#include "engine/Records.h"

#include <cstdint>
#include <string>
#include <vector>

namespace padwright {

// The modifier column: only key mappings show their flags ("Shift; Ctrl; Alt; Win;").
std::string ModifierText(const TControlMapping& mapping);
// The repeat column: "OFF", "<n> tps" or "MAX"; depends on RepeatRate alone.
std::string RepeatText(std::int32_t repeatRate);
// The editor's words for a track bar position: "OFF", "<n> times/sec" or "MAXIMUM".
std::string RateWords(int position);

// One row of the settings panel before it becomes widgets: its label and its control slot.
struct TRowPlan {
    std::string Caption;
    int Slot;
};
// The rows for a controller, in display order: axes, sliders, hats, buttons.
std::vector<TRowPlan> PlanSettingsRows(const TJoystick& joystick);

} // namespace padwright
