// The Apply and Reset handlers of "Application Settings" and "Joystick Settings".
#include "core/Settings.h"
#include "engine/Errors.h"
#include "engine/Rounding.h"

#include <charconv>

namespace padwright {

std::int32_t StrToInt(const std::string& text) {
    std::int32_t value = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+' && end - begin > 1 && begin[1] != '-')
        ++begin;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (begin == end || error != std::errc() || stop != end)
        throw Error("'" + text + "' is not a valid integer value");
    return value;
}

void cmdASApplyClick(SettingsContext& context, ApplicationSettingsFields& fields) {
    const std::int32_t timeInterval = StrToInt(fields.TimeInterval);
    if (timeInterval < 1 || timeInterval > 2000) {
        context.Boxes.Warning(TimeIntervalRangeText, "Attention");
        return;
    }
    const std::int32_t maxJoysticks = StrToInt(fields.MaxJoysticks);
    if (maxJoysticks < 1 || maxJoysticks > 100) {
        context.Boxes.Warning(MaxJoysticksRangeText, "Attention");
        return;
    }
    context.Host.SetTimeInterval(static_cast<std::uint32_t>(timeInterval));
    // Controllers beyond a lowered maximum stay active.
    context.Lists.MaxJoysticks = maxJoysticks;
    // The log is on exactly while it is open: a log that cannot be created leaves logging off,
    // and the field says so.
    if (fields.LogFile && !context.Log.LogEnabled()) {
        try {
            context.Log.Open();
        } catch (...) {
            fields.LogFile = false;
            throw;
        }
    } else if (!fields.LogFile && context.Log.LogEnabled()) {
        context.Log.Close();
    }
}

void cmdASResetClick(SettingsContext& context, ApplicationSettingsFields& fields) {
    fields.TimeInterval = std::to_string(context.Host.TimeInterval());
    fields.MaxJoysticks = std::to_string(context.Lists.MaxJoysticks);
}

namespace {

TJoystick* SelectedController(SettingsContext& context) {
    const ListBoxModel& devices = context.Controllers.View.cmbDevices;
    if (!devices.HasSelection() || devices.ItemIndex >= context.Lists.ActiveJoysticks.count())
        return nullptr;
    return &context.Lists.ActiveJoysticks[static_cast<std::size_t>(devices.ItemIndex)];
}

} // namespace

void cmdJSApplyClick(SettingsContext& context, JoystickSettingsFields& fields) {
    TJoystick* selected = SelectedController(context);
    if (!selected)
        return;
    TJoystick& joystick = *selected;
    const std::int32_t index = context.Controllers.View.cmbDevices.ItemIndex;
    if (StrToInt(fields.DeadZone) > 100)
        fields.DeadZone = "100";
    if (StrToInt(fields.Threshold) > 100)
        fields.Threshold = "100";
    joystick.DeadZone = StrToInt(fields.DeadZone);
    joystick.MaxVal = StrToInt(fields.MaxVal);
    // The field shows percent of the range; the controller keeps axis units.
    const std::int64_t product =
        static_cast<std::int64_t>(joystick.MaxVal) * StrToInt(fields.Threshold);
    joystick.Threshold = static_cast<std::int32_t>(DivRoundHalfEven(product, 100));
    joystick.RepeatKeys = fields.RepeatKeys;

    const bool open = joystick.Acquired;
    if (context.Host.ReadingOn()) {
        context.Host.PauseReading();
        if (open)
            context.Controllers.ApplyAxisProperties(index);
        context.Host.ResumeReading();
    } else if (open) {
        context.Controllers.ApplyAxisProperties(index);
    }
}

void cmdJSResetClick(SettingsContext& context, JoystickSettingsFields& fields) {
    const TJoystick* selected = SelectedController(context);
    if (!selected)
        return;
    const TJoystick& joystick = *selected;
    fields.DeadZone = std::to_string(joystick.DeadZone);
    fields.MaxVal = std::to_string(joystick.MaxVal);
    fields.Threshold =
        joystick.MaxVal < 1
            ? "0"
            : std::to_string(DivRoundHalfEven(static_cast<std::int64_t>(joystick.Threshold) * 100,
                                              joystick.MaxVal));
    fields.RepeatKeys = joystick.RepeatKeys;
}

} // namespace padwright
