#pragma once
// The application settings and the remembered controllers: loading with the reading rules,
// saving, and the Apply and Reset handlers of the two settings groups, on a plain model of the
// groups' fields so that they run without widgets.
#include "engine/EngineHost.h"
#include "engine/Lists.h"
#include "input/ControllerAccess.h"
#include "input/DiLog.h"
#include "store/MessageBoxes.h"
#include "store/Registry.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace padwright {

// "Application Settings": txtTimeInterval, txtMaxJoysticks, chkStartMinimized, chkLogFile.
struct ApplicationSettingsFields {
    std::string TimeInterval;
    std::string MaxJoysticks;
    bool StartMinimized = false;
    bool LogFile = false;
};

// "Joystick Settings" of the selected controller: txtDeadZone, txtMaxVal, txtThreshold (percent
// of MaxVal), chkRepeatKeys.
struct JoystickSettingsFields {
    std::string DeadZone;
    std::string MaxVal;
    std::string Threshold;
    bool RepeatKeys = false;
};

// What the settings need of the program around them beyond the reading switch.
class ISettingsHost : public virtual IEngineHost {
public:
    // The data-collection timer's interval in milliseconds.
    virtual std::uint32_t TimeInterval() const = 0;
    virtual void SetTimeInterval(std::uint32_t milliseconds) = 0;
};

struct SettingsContext {
    Registry& Settings;
    TLists& Lists;
    DiLog& Log;
    ISettingsHost& Host;
    IMessageBoxes& Boxes;
    // The controller lists' model (cmbDevices and its selection) and the axis property step.
    ControllerAccess& Controllers;
};

// Start-up, after the profile store: MaxJoysticks, the timer interval, the fields and check
// boxes, and the remembered controllers appended to ActiveJoysticks (no device open) and to
// cmbDevices. Opens the log when LogFile is on, last, so a log that cannot be
// created (Error) costs no setting. A settings file set aside before it was read is reported in
// a "Warning" box; one refused (no regular file) raises Error after the defaults are in effect.
// Returns true when the program starts without its window.
bool LoadSettings(SettingsContext& context, ApplicationSettingsFields& fields);

// One remembered controller from its subkey, or nullopt when the subkey names none (empty
// Name or GUID, or a GUID that does not parse).
std::optional<TJoystick> ReadController(const RegistryKey& key, int profileCount);

// The first half of cmdSaveClick. `startMinimized` is chkStartMinimized as it is now. Raises
// the input/output error naming the settings file when it could not be written ("Disk full",
// "File access denied"...), or when it is no regular file, which is never replaced.
void SaveSettings(SettingsContext& context, bool startMinimized);

// Hands what SaveSettings would write now, value by value with its key and name, to `add`: equal
// input, equal settings written.
using DigestInput = std::function<void(const void* data, std::size_t size)>;
void SettingsDigest(SettingsContext& context, bool startMinimized, const DigestInput& add);

// StrToInt: decimal, optional sign, 32-bit; raises "'%s' is not a valid integer value".
std::int32_t StrToInt(const std::string& text);

void cmdASApplyClick(SettingsContext& context, ApplicationSettingsFields& fields);
void cmdASResetClick(SettingsContext& context, ApplicationSettingsFields& fields);
// Both act on the controller selected in cmbDevices and do nothing without a selection (the
// group is disabled then); cmbDevicesClick fills the fields as cmdJSResetClick does.
void cmdJSApplyClick(SettingsContext& context, JoystickSettingsFields& fields);
void cmdJSResetClick(SettingsContext& context, JoystickSettingsFields& fields);

} // namespace padwright
