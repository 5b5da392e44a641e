// padwright-probe: lists the game controllers as Padwright sees them (list text, GUID, object
// counts, hat ranges, object names, the kernel codes that became no object, the axes that rest
// at one end of their range), from /dev/input or from device description files, and shows
// their state. Controllers this user may not read are named with the way to be given access.
#include "ProbeText.h"
#include "System.h"
#include "input/ControllerAccess.h"
#include "input/DirectInputErrorText.h"
#include "platform/dinput/EvdevDevice.h"
#include "platform/dinput/EvdevDirectInput.h"
#include "platform/dinput/EvemuParser.h"
#include "platform/dinput/FixtureKernel.h"
#include "platform/dinput/ObjectLayout.h"

#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

using namespace padwright;

namespace {

constexpr int ExitUsage = 2;
constexpr int ExitBadDescription = 2;

const char* const Usage =
    "usage: padwright-probe [--fixture FILE]... [--maxval N] [--deadzone N] [--watch]\n"
    "  --fixture FILE  read a device description (evemu-describe format) instead of /dev/input;\n"
    "                  its recorded events are replayed before the state is shown\n"
    "  --maxval N      axis range -N..N (default 10)\n"
    "  --deadzone N    dead zone in per cent, 0..100 (default 10)\n"
    "  --watch         print the state every 100 ms until interrupted (live devices only)\n"
    "  -h, --help      show this help and exit\n"
    "  --version       show the version and exit\n";

struct Options {
    bool help = false;
    bool version = false;
    std::vector<std::string> fixtures;
    std::int32_t maxVal = 10;
    std::int32_t deadZone = 10;
    bool watch = false;
};

// DirectInput failures go to standard error, where a person running the probe sees them.
class ProbeHost : public IControllerHost {
public:
    void PauseReading() override {}
    void ResumeReading() override {}
    void TrayAnimationStep() override {}
    bool ReadingOn() const override { return false; }
    void LogDirectInputError(std::string_view prefix, HRESULT code) override {
        std::cerr << "padwright-probe: " << prefix << DirectInputErrorText(code) << '\n';
    }
};

volatile std::sig_atomic_t interrupted = 0;

bool ParseInt(const char* text, std::int32_t low, std::int32_t high, std::int32_t& out) {
    const char* end = text + std::strlen(text);
    const auto [p, ec] = std::from_chars(text, end, out);
    return ec == std::errc() && p == end && out >= low && out <= high;
}

bool ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--fixture" && hasValue) {
            o.fixtures.push_back(argv[++i]);
        } else if (arg == "--maxval" && hasValue) {
            if (!ParseInt(argv[++i], 1, 1000000, o.maxVal)) {
                std::cerr << "padwright-probe: --maxval needs a whole number from 1\n";
                return false;
            }
        } else if (arg == "--deadzone" && hasValue) {
            if (!ParseInt(argv[++i], 0, 100, o.deadZone)) {
                std::cerr << "padwright-probe: --deadzone needs a whole number from 0 to 100\n";
                return false;
            }
        } else if (arg == "--watch") {
            o.watch = true;
        } else if (arg == "-h" || arg == "--help") {
            o.help = true;
        } else if (arg == "--version") {
            o.version = true;
        } else {
            std::cerr << Usage;
            return false;
        }
    }
    if (o.watch && !o.fixtures.empty()) {
        std::cerr << "padwright-probe: --watch reads live devices only\n";
        return false;
    }
    return true;
}

std::string CodeName(unsigned type, unsigned code) {
    const std::string name = probe::KernelCodeName(type, code);
    // The last code carries only the name of the range's end (KEY_MAX), which no device means.
    if (!name.empty() && !name.ends_with("_MAX"))
        return name;
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%03x", code); // codes the kernel gives no name
    return hex;
}

// The kernel codes of the controller that became no object, so that a user can see why a
// control does nothing.
std::vector<std::string> Unused(const EvdevDirectInput& di, const GUID& guid) {
    std::vector<std::string> names;
    for (const EvdevDirectInput::Found& f : di.Scanned())
        if (f.guid == guid)
            for (const UnusedCode& u : UnusedCodes(f.description, BuildObjectLayout(f.description)))
                names.push_back(CodeName(u.type, u.code));
    return names;
}

// "Z rests at minimum" for each axis of the controller that rests at one end of its range, as
// the readings since it was opened tell.
std::vector<std::string> HalfAxes(const TJoystick& c) {
    std::vector<std::string> halves;
    const auto* device = dynamic_cast<const EvdevDevice*>(c.Device.get());
    if (device == nullptr)
        return halves;
    static const char* const AxisNames[] = {"X", "Y", "Z", "Rx", "Ry", "Rz"};
    const std::vector<ObjectInfo>& objects = device->Layout().objects;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const AxisRest rest = device->RestOf(i);
        if (rest == AxisRest::Centre)
            continue;
        const ObjectInfo& o = objects[i];
        const std::string name = o.kind == ObjectKind::Axis
                                     ? AxisNames[o.index]
                                     : "Slider " + std::to_string(o.index + 1);
        halves.push_back(name +
                         (rest == AxisRest::Minimum ? " rests at minimum" : " rests at maximum"));
    }
    return halves;
}

bool ReadState(TJoystick& c, DIJOYSTATE2& state, ProbeHost& host) {
    if (!c.Acquired || !c.Device)
        return false;
    HRESULT hr = c.Device->Poll();
    if (hr != DI_OK && hr != DI_NOEFFECT) {
        host.LogDirectInputError("Failed to poll device: ", hr);
        c.Acquired = false;
        return false;
    }
    hr = c.Device->GetDeviceState(sizeof state, &state);
    if (FAILED(hr)) {
        host.LogDirectInputError("Failed to obtain the device state: ", hr);
        c.Acquired = false;
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options))
        return ExitUsage;
    if (options.help) {
        std::cout << Usage;
        return 0;
    }
    if (options.version) {
        std::cout << "padwright-probe " PADWRIGHT_VERSION "\n";
        return 0;
    }

    DirectInputEntry entry = probe::SystemDirectInput();
    if (!options.fixtures.empty()) {
        auto kernel = std::make_shared<FixtureKernel>();
        for (const std::string& file : options.fixtures) {
            try {
                EvemuDevice device = LoadEvemuFile(file);
                kernel->Add(std::move(device.description), std::move(device.events));
            } catch (const EvemuError& e) {
                std::cerr << "padwright-probe: " << e.what() << '\n';
                return ExitBadDescription;
            }
        }
        entry = [kernel](std::shared_ptr<IDirectInput8>& out) {
            out = CreateFixtureDirectInput(kernel);
            return DI_OK;
        };
    }

    TLists lists;
    ProbeHost host;
    ControllerAccess access(lists, host, entry);
    access.StartDirectInput();
    lists.MaxJoysticks = lists.FoundJoysticks.count();
    for (int k = 0; k < lists.FoundJoysticks.count(); ++k) {
        TJoystick& found = lists.FoundJoysticks[static_cast<std::size_t>(k)];
        found.MaxVal = options.maxVal;
        found.DeadZone = options.deadZone;
        access.View.cmbFoundDevices.ItemIndex = k;
        access.cmdAddDeviceClick();
    }
    // Both entries give the evdev implementation, which can tell what it found.
    const auto* evdev = dynamic_cast<const EvdevDirectInput*>(access.DirectInput().get());
    if (evdev != nullptr)
        for (const EvdevDirectInput::Found& f : evdev->Scanned())
            if (f.denied)
                std::cerr << "padwright-probe: " << probe::AccessAdvice(f.node, f.description.name);
    if (lists.ActiveJoysticks.empty())
        std::cerr << "padwright-probe: no game controllers found\n";

    // What each controller's half axes were last shown as; watching shows every change.
    std::vector<std::vector<std::string>> halves;
    for (int i = 0; i < lists.ActiveJoysticks.count(); ++i) {
        TJoystick& c = lists.ActiveJoysticks[static_cast<std::size_t>(i)];
        std::cout << (i > 0 ? "\n" : "") << probe::ControllerBlock(c);
        if (evdev != nullptr)
            std::cout << probe::UnusedLine(Unused(*evdev, c.Guid));
        halves.push_back(HalfAxes(c));
        std::cout << probe::HalfAxesLine(halves.back());
        DIJOYSTATE2 state;
        if (!options.fixtures.empty() && ReadState(c, state, host))
            std::cout << probe::StateLine(c, state);
    }
    std::cout.flush();
    if (!options.watch)
        return 0;

    std::signal(SIGINT, [](int) { interrupted = 1; });
    std::signal(SIGTERM, [](int) { interrupted = 1; });
    while (!interrupted) {
        for (int i = 0; i < lists.ActiveJoysticks.count(); ++i) {
            TJoystick& c = lists.ActiveJoysticks[static_cast<std::size_t>(i)];
            DIJOYSTATE2 state;
            if (!ReadState(c, state, host))
                continue;
            if (std::vector<std::string> now = HalfAxes(c); now != halves[std::size_t(i)]) {
                halves[std::size_t(i)] = std::move(now);
                std::cout << "[" << i << "] " << probe::HalfAxesLine(halves[std::size_t(i)]);
            }
            std::cout << "[" << i << "] " << probe::StateLine(c, state);
        }
        std::cout.flush();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return 0;
}
