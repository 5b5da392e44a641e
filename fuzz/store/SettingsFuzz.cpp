// The settings reader on arbitrary settings files: never a crash, every value within its rule,
// and what Save writes reads back the same, names that are no UTF-8 byte for byte. A settings file
// may switch the log on: run it in a scratch folder, where "Padwright.log" is made.
#include "core/Settings.h"

#include "engine/Errors.h"

#include "ScratchFolder.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using namespace padwright;

struct Host : ISettingsHost, IControllerHost {
    std::uint32_t interval = 5;
    void PauseReading() override {}
    void ResumeReading() override {}
    void TrayAnimationStep() override {}
    void LogDirectInputError(std::string_view, HRESULT) override {}
    std::uint32_t TimeInterval() const override { return interval; }
    void SetTimeInterval(std::uint32_t ms) override { interval = ms; }
    bool ReadingOn() const override { return false; }
};

struct Boxes : IMessageBoxes {
    void Warning(std::string_view, std::string_view) override {}
    void Error(std::string_view) override {}
};

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// Each input gets a file of its own name: QSettings keeps files it has read in a cache that
// trusts size and time stamp, which a fast loop cannot tell apart.
std::string NextFile() {
    static const std::string folder = ScratchFolder();
    static unsigned long n = 0;
    return folder + "/" + std::to_string(n++) + ".conf";
}

struct Loaded {
    TLists lists;
    Host host;
    DiLog log;
    Boxes boxes;
    ControllerAccess controllers{lists, host, {}};
    ApplicationSettingsFields fields;
    bool hidden = false;

    explicit Loaded(Registry& registry) {
        lists.Profiles.push_back(NewProfile("One"));
        lists.Profiles.push_back(NewProfile("Two"));
        SettingsContext context{registry, lists, log, host, boxes, controllers};
        try {
            hidden = LoadSettings(context, fields);
        } catch (const Error&) {
            // Only the log may fail, and it is opened after everything else is read.
            Check(fields.LogFile && !log.LogEnabled());
        }
    }
    SettingsContext Context(Registry& registry) {
        return {registry, lists, log, host, boxes, controllers};
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = NextFile();
    std::ofstream(path, std::ios::binary) << std::string(reinterpret_cast<const char*>(data), size);
    const std::string copy = path + ".saved";
    {
        Registry registry(path);
        Loaded first(registry);
        Check(first.lists.MaxJoysticks >= 1 && first.lists.MaxJoysticks <= 100);
        Check(first.host.interval >= 1 && first.host.interval <= 2000);
        Check(first.lists.ActiveJoysticks.count() <= first.lists.MaxJoysticks);
        for (const TJoystick& j : first.lists.ActiveJoysticks) {
            // Names are taken as bytes: one that is no UTF-8 must survive the round trip below
            // unchanged, so nothing here can ask for whole characters.
            Check(!j.Name.empty() && j.Name.size() <= 255);
            Check(j.DeadZone >= 1 && j.DeadZone <= 100);
            Check(j.MaxVal >= 0);
            Check((j.Threshold >= 1 && j.Threshold <= j.MaxVal) ||
                  j.Threshold == (j.MaxVal + 1) / 2 || j.Threshold == j.MaxVal / 2);
            Check(j.Profile >= 0 && j.Profile <= 2);
        }

        // Save into a fresh file and read that back: the same settings.
        Registry saved(copy);
        SettingsContext context = first.Context(saved);
        SaveSettings(context, first.fields.StartMinimized);
        first.log.Close(); // the log is locked while open; the second load opens it again
        Registry reread(copy);
        Loaded second(reread);
        Check(second.lists.MaxJoysticks == first.lists.MaxJoysticks);
        Check(second.host.interval == first.host.interval);
        Check(second.fields.StartMinimized == first.fields.StartMinimized);
        Check(second.lists.ActiveJoysticks.count() == first.lists.ActiveJoysticks.count());
        for (int i = 0; i < first.lists.ActiveJoysticks.count(); ++i) {
            const TJoystick& a = first.lists.ActiveJoysticks[i];
            const TJoystick& b = second.lists.ActiveJoysticks[i];
            Check(a.Name == b.Name && a.Guid == b.Guid && a.JoystickID == b.JoystickID &&
                  a.DeadZone == b.DeadZone && a.MaxVal == b.MaxVal && a.Threshold == b.Threshold &&
                  a.RepeatKeys == b.RepeatKeys && a.Profile == b.Profile);
        }
    }
    std::remove(path.c_str());
    std::remove((path + ".bak").c_str()); // where a file of serialised values was set aside
    std::remove(copy.c_str());
    return 0;
}
