#include "ui/common/RowTexts.h"

#include "engine/SlotWalk.h"

namespace padwright {

std::string ModifierText(const TControlMapping& mapping) {
    if (mapping.Kind != fkKey)
        return {};
    std::string text;
    if (mapping.Shift)
        text += "Shift; ";
    if (mapping.Ctrl)
        text += "Ctrl; ";
    if (mapping.Alt)
        text += "Alt; ";
    if (mapping.Win)
        text += "Win;";
    return text;
}

std::string RepeatText(std::int32_t repeatRate) {
    if (repeatRate > 30)
        return "MAX";
    if (repeatRate == 0)
        return "OFF";
    return std::to_string(repeatRate) + " tps";
}

std::string RateWords(int position) {
    if (position == 0)
        return "OFF";
    if (position > 30)
        return "MAXIMUM";
    return std::to_string(position) + " times/sec";
}

std::vector<TRowPlan> PlanSettingsRows(const TJoystick& j) {
    std::vector<TRowPlan> rows;
    rows.reserve(SlotCount);
    const std::int32_t axisCounts[AxisCount] = {j.XCount,  j.YCount,  j.ZCount,
                                                j.RxCount, j.RyCount, j.RzCount};
    const std::string* axisNames[AxisCount] = {&j.XName,  &j.YName,  &j.ZName,
                                               &j.RxName, &j.RyName, &j.RzName};
    // Rows only for what the controller shows: the axes it has, and one or two sliders (more
    // than a profile holds, a damaged setting, shows none).
    ForEachEvaluatedSlot(j, [&](const TSlotControl& c) {
        const char* sign = c.Direction == 0 ? " -" : " +";
        switch (c.Kind) {
        case TControlKind::Axis:
            if (axisCounts[c.Object] > 0)
                rows.push_back({*axisNames[c.Object] + sign, c.Slot});
            break;
        case TControlKind::Slider:
            if (j.SliderCount == 1)
                rows.push_back({j.SliderNames[0] + sign, c.Slot});
            else if (j.SliderCount == 2)
                rows.push_back({j.SliderNames[static_cast<std::size_t>(c.Object)] +
                                    std::to_string(c.Object + 1) + sign,
                                c.Slot});
            break;
        case TControlKind::Hat:
            rows.push_back({j.POVNames[static_cast<std::size_t>(c.Object)] + " " +
                                HatDirectionLabels[c.Direction],
                            c.Slot});
            break;
        case TControlKind::Button:
            rows.push_back({j.ButtonNames[static_cast<std::size_t>(c.Object)], c.Slot});
            break;
        }
    });
    return rows;
}

} // namespace padwright
