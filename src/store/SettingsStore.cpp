// Loading and saving the settings, with the reading rules of every value.
#include "engine/Errors.h"
#include "engine/Rounding.h"
#include "store/Settings.h"

#include <string_view>

namespace padwright {

namespace {

constexpr int DefaultMaxJoysticks = 4;
constexpr std::uint32_t DefaultTimeInterval = 5;
constexpr std::int32_t DefaultDeadZone = 10;
constexpr std::int32_t DefaultMaxVal = 10;

QString SubkeyName(int n) {
    return QStringLiteral("Joystick%1").arg(n);
}

// A value that is missing or not a number reads as the preset 0.
std::uint32_t DwordOrZero(const RegistryKey& key, const char* name) {
    return key.ReadDword(name).value_or(0);
}

std::uint8_t LowByte(std::uint32_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

// A string value as the registry gives it, in the form TrimmedName describes.
std::string ReadTrimmed(const RegistryKey& key, const char* name) {
    const std::optional<std::string> stored = key.ReadString(name);
    return stored ? TrimmedName(*stored, NameCapacity) : std::string();
}

} // namespace

std::optional<TJoystick> ReadController(const RegistryKey& key, int profileCount) {
    const std::uint32_t id = DwordOrZero(key, "ID");
    const std::string name = ReadTrimmed(key, "Name");
    const std::string guidText = ReadTrimmed(key, "GUID");
    GUID guid{};
    if (name.empty() || guidText.empty() || !StringToGuid(guidText, guid))
        return std::nullopt;

    TJoystick joystick;
    joystick.Name = name;
    joystick.JoystickID = id;
    joystick.Guid = guid;

    const std::uint32_t profile = DwordOrZero(key, "Profile");
    joystick.Profile = (profile == 0 || profile > static_cast<std::uint32_t>(profileCount))
                           ? 0
                           : static_cast<std::int32_t>(profile);

    const std::uint32_t deadZone = DwordOrZero(key, "DeadZone");
    joystick.DeadZone =
        (deadZone == 0 || deadZone > 100) ? DefaultDeadZone : static_cast<std::int32_t>(deadZone);

    // A negative range would turn every axis around; 0 stays, the window lets the user enter it.
    const auto maxVal = static_cast<std::int32_t>(DwordOrZero(key, "MaxVal"));
    joystick.MaxVal = maxVal < 0 ? DefaultMaxVal : maxVal;

    // The threshold is in axis units, so its bound is the range, not 100.
    const auto threshold = static_cast<std::int32_t>(DwordOrZero(key, "Threshold"));
    joystick.Threshold = (threshold < 1 || threshold > joystick.MaxVal)
                             ? static_cast<std::int32_t>(DivRoundHalfEven(joystick.MaxVal, 2))
                             : threshold;

    const std::optional<std::uint32_t> repeatKeys = key.ReadDword("RepeatKeys");
    joystick.RepeatKeys = repeatKeys ? LowByte(*repeatKeys) != 0 : true;
    return joystick;
}

bool LoadSettings(SettingsContext& context, ApplicationSettingsFields& fields) {
    const SettingsFileLook look = context.Settings.TakeLook();
    if (look.verdict == SettingsFileLook::SetAside)
        context.Boxes.Warning(look.message, "Warning");
    const RegistryKey root = context.Settings.Root();
    auto maxJoysticks = static_cast<std::int32_t>(DwordOrZero(root, "MaxJoysticks"));
    std::uint32_t timeInterval = DwordOrZero(root, "TimeInterval");
    const std::uint8_t startMinimized = LowByte(DwordOrZero(root, "StartMinimized"));
    const bool logFile = LowByte(DwordOrZero(root, "LogFile")) != 0;

    if (maxJoysticks < 1 || maxJoysticks > 100)
        maxJoysticks = DefaultMaxJoysticks;
    if (timeInterval == 0 || timeInterval > 2000)
        timeInterval = DefaultTimeInterval;
    context.Lists.MaxJoysticks = maxJoysticks;
    context.Host.SetTimeInterval(timeInterval);
    fields.TimeInterval = std::to_string(timeInterval);
    fields.MaxJoysticks = std::to_string(maxJoysticks);
    fields.StartMinimized = startMinimized != 0;
    fields.LogFile = logFile;

    const int profileCount = context.Lists.Profiles.count();
    for (int n = 0; n < maxJoysticks; ++n) {
        // Missing numbers are skipped, so gaps left by hand or by an old save are tolerated.
        const std::optional<RegistryKey> key = context.Settings.OpenSubkey(SubkeyName(n));
        if (!key)
            continue;
        if (std::optional<TJoystick> joystick = ReadController(*key, profileCount)) {
            context.Controllers.View.cmbDevices.Add(ControllerListText(*joystick));
            context.Lists.ActiveJoysticks.push_back(std::move(*joystick));
        }
    }

    if (logFile)
        context.Log.Open();
    if (look.verdict == SettingsFileLook::Refused)
        throw Error(look.message);
    return startMinimized == 1;
}

void SaveSettings(SettingsContext& context, bool startMinimized) {
    Registry& settings = context.Settings;
    const TLists& lists = context.Lists;
    settings.CheckWritable();
    for (int n = 0; n < lists.MaxJoysticks; ++n)
        settings.DeleteSubkey(SubkeyName(n));

    RegistryKey root = settings.Root();
    root.WriteSigned("MaxJoysticks", lists.MaxJoysticks);
    root.WriteDword("TimeInterval", context.Host.TimeInterval());
    root.WriteDword("StartMinimized", startMinimized ? 1 : 0);
    root.WriteDword("LogFile", context.Log.LogEnabled() ? 1 : 0);

    int i = 0;
    for (const TJoystick& joystick : lists.ActiveJoysticks) {
        RegistryKey key = settings.CreateSubkey(SubkeyName(i++));
        key.WriteString("Name", joystick.Name);
        key.WriteString("GUID", GuidToString(joystick.Guid));
        key.WriteDword("ID", joystick.JoystickID);
        key.WriteSigned("DeadZone", joystick.DeadZone);
        key.WriteSigned("MaxVal", joystick.MaxVal);
        key.WriteSigned("Threshold", joystick.Threshold);
        key.WriteDword("RepeatKeys", joystick.RepeatKeys ? 1 : 0);
        key.WriteSigned("Profile", joystick.Profile);
    }
    settings.Flush();
}

} // namespace padwright
