#include "ui/RowTexts.h"

#include <algorithm>

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

namespace {

void AddPair(std::vector<TRowPlan>& rows, const std::string& name, int negativeSlot) {
    rows.push_back({name + " -", negativeSlot});
    rows.push_back({name + " +", negativeSlot + 1});
}

} // namespace

std::vector<TRowPlan> PlanSettingsRows(const TJoystick& j) {
    std::vector<TRowPlan> rows;
    rows.reserve(SlotCount);
    const std::int32_t axisCounts[AxisCount] = {j.XCount,  j.YCount,  j.ZCount,
                                                j.RxCount, j.RyCount, j.RzCount};
    const std::string* axisNames[AxisCount] = {&j.XName,  &j.YName,  &j.ZName,
                                               &j.RxName, &j.RyName, &j.RzName};
    for (int a = 0; a < AxisCount; ++a)
        if (axisCounts[a] > 0)
            AddPair(rows, *axisNames[a], AxisSlot(a, false));

    if (j.SliderCount == 1) {
        AddPair(rows, j.SliderNames[0], SliderSlot(0, false));
    } else if (j.SliderCount == 2) {
        AddPair(rows, j.SliderNames[0] + "1", SliderSlot(0, false));
        AddPair(rows, j.SliderNames[1] + "2", SliderSlot(1, false));
    }

    const int hats = std::clamp(j.POVCount, 0, MaxHats);
    for (int h = 0; h < hats; ++h) {
        const int step = j.POVMax[h] == 3 ? 2 : j.POVMax[h] == 7 ? 1 : 0;
        if (step == 0)
            continue;
        for (int d = 0; d < HatDirections; d += step)
            rows.push_back({j.POVNames[h] + " " + HatDirectionLabels[d], HatSlot(h, d)});
    }

    const int buttons = std::clamp(j.ButtonCount, 0, MaxButtons);
    for (int b = 0; b < buttons; ++b)
        rows.push_back({j.ButtonNames[b], ButtonSlot(b)});
    return rows;
}

} // namespace padwright
