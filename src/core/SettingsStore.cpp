// Loading and saving the settings, with the reading rules of every value.
#include "core/Settings.h"
#include "engine/Errors.h"
#include "engine/Rounding.h"

#include <cstring>
#include <string_view>
#include <type_traits>
#include <vector>

namespace padwright {

namespace {

constexpr int DefaultMaxJoysticks = 4;
constexpr std::uint32_t DefaultTimeInterval = 5;
constexpr std::int32_t DefaultDeadZone = 10;
constexpr std::int32_t DefaultMaxVal = 10;

std::string SubkeyName(int n) {
    return "Joystick" + std::to_string(n);
}

// The program rules are a settings array as QSettings writes one: "Programs/size" and the
// entries "Programs/1/Program", "Programs/1/Profile", ... from 1.
constexpr const char* ProgramsKey = "Programs";
// More entries than any person makes: a damaged size must not keep start-up reading for ever.
constexpr std::uint32_t MaxProgramRules = 4096;

std::string ProgramEntry(std::size_t n) {
    return std::string(ProgramsKey) + '/' + std::to_string(n);
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

namespace {

// The rules with a program to match; the log lines name what is read but ignored.
std::vector<std::string> ReadProgramRules(SettingsContext& context) {
    std::vector<std::string> ignored;
    std::uint32_t size = DwordOrZero(context.Settings.CreateSubkey(ProgramsKey), "size");
    if (size > MaxProgramRules) {
        ignored.push_back("Settings: only the first " + std::to_string(MaxProgramRules) + " of " +
                          std::to_string(size) + " program rules are read.");
        size = MaxProgramRules;
    }
    const int profileCount = context.Lists.Profiles.count();
    for (std::uint32_t n = 1; n <= size; ++n) {
        // Only a handle: nothing is created by reading through it.
        const RegistryKey entry = context.Settings.CreateSubkey(ProgramEntry(n));
        TProgramRule rule;
        rule.Program = ReadTrimmed(entry, "Program");
        if (rule.Program.empty())
            continue;
        rule.Profile = static_cast<std::int32_t>(DwordOrZero(entry, "Profile"));
        rule.Controller = ReadTrimmed(entry, "Controller");
        const std::string what =
            "Program rule " + std::to_string(n) + " (\"" + rule.Program + "\")";
        if (rule.Profile < 1 || rule.Profile > profileCount)
            ignored.push_back(what + " names profile " + std::to_string(rule.Profile) +
                              ", which does not exist: it is kept and ignored.");
        GUID guid{};
        if (!rule.Controller.empty() && !StringToGuid(rule.Controller, guid))
            ignored.push_back(what + " names the controller \"" + rule.Controller +
                              "\", which is no GUID: it is kept and ignored.");
        context.Lists.Programs.push_back(std::move(rule));
    }
    return ignored;
}

} // namespace

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

    const std::vector<std::string> ignored = ReadProgramRules(context);

    if (logFile)
        context.Log.Open();
    for (const std::string& line : ignored)
        context.Log.LogLine(line);
    if (look.verdict == SettingsFileLook::Refused)
        throw Error(look.message);
    return startMinimized == 1;
}

namespace {

// Every value SaveSettings writes, in its order, to `write(subkey, name, value)`: subkey "" is the
// application key. Numbers come as std::uint32_t (REG_DWORD written as unsigned) or std::int32_t.
// A controller's Profile is its own choice: what rules or commands set in its place is not kept.
template <typename Write>
void ForEachSavedValue(SettingsContext& context, bool startMinimized, Write&& write) {
    const TLists& lists = context.Lists;
    const std::string root;
    write(root, "MaxJoysticks", lists.MaxJoysticks);
    write(root, "TimeInterval", context.Host.TimeInterval());
    write(root, "StartMinimized", std::uint32_t{startMinimized ? 1u : 0u});
    write(root, "LogFile", std::uint32_t{context.Log.LogEnabled() ? 1u : 0u});
    int i = 0;
    for (const TJoystick& joystick : lists.ActiveJoysticks) {
        const std::string key = SubkeyName(i++);
        write(key, "Name", joystick.Name);
        write(key, "GUID", GuidToString(joystick.Guid));
        write(key, "ID", joystick.JoystickID);
        write(key, "DeadZone", joystick.DeadZone);
        write(key, "MaxVal", joystick.MaxVal);
        write(key, "Threshold", joystick.Threshold);
        write(key, "RepeatKeys", std::uint32_t{joystick.RepeatKeys ? 1u : 0u});
        write(key, "Profile", joystick.Profile);
    }
    // No array at all without rules, as before there were any.
    if (lists.Programs.empty())
        return;
    write(std::string(ProgramsKey), "size", static_cast<std::uint32_t>(lists.Programs.size()));
    std::size_t n = 0;
    for (const TProgramRule& rule : lists.Programs) {
        const std::string key = ProgramEntry(++n);
        write(key, "Program", rule.Program);
        write(key, "Profile", rule.Profile);
        write(key, "Controller", rule.Controller);
    }
}

} // namespace

void SettingsDigest(SettingsContext& context, bool startMinimized, const DigestInput& add) {
    ForEachSavedValue(
        context, startMinimized,
        [&](const std::string& subkey, const char* name, const auto& value) {
            add(subkey.c_str(), subkey.size() + 1);
            add(name, std::strlen(name) + 1);
            if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::string>) {
                const std::size_t size = value.size();
                add(&size, sizeof size);
                add(value.data(), size);
            } else {
                add(&value, sizeof value);
            }
        });
}

void SaveSettings(SettingsContext& context, bool startMinimized) {
    Registry& settings = context.Settings;
    settings.CheckWritable();
    for (int n = 0; n < context.Lists.MaxJoysticks; ++n)
        settings.DeleteSubkey(SubkeyName(n));
    settings.DeleteSubkey(ProgramsKey);
    ForEachSavedValue(context, startMinimized,
                      [&](const std::string& subkey, const char* name, const auto& value) {
                          RegistryKey key =
                              subkey.empty() ? settings.Root() : settings.CreateSubkey(subkey);
                          using Value = std::decay_t<decltype(value)>;
                          if constexpr (std::is_same_v<Value, std::string>)
                              key.WriteString(name, value);
                          else if constexpr (std::is_same_v<Value, std::uint32_t>)
                              key.WriteDword(name, value);
                          else
                              key.WriteSigned(name, value);
                      });
    settings.Flush();
}

} // namespace padwright
