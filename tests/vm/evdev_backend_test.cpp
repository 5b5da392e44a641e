// The evdev backend on real kernel devices against the fixture backend on the same
// descriptions: every real-device description becomes a kernel device through uinput, its
// recording is replayed, and DirectInput must see the same controllers, objects, ranges and
// states either way. Only the instance GUID may differ: uinput cannot carry the serial or port.
#include "KernelDevice.h"
#include "platform/dinput/EvdevDirectInput.h"
#include "platform/dinput/EvemuParser.h"
#include "platform/dinput/FixtureKernel.h"
#include "platform/dinput/LibevdevKernel.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/input.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>

namespace padwright::vm {
namespace {

// Nodes of real hardware that are not controllers; every other description is one.
const std::set<std::string> NotControllers = {
    "ds4-bt-motion-sensors",
    "ds4-bt-touchpad",
    "logitech-g13-gaming-keys",
};

std::vector<std::filesystem::path> Fixtures() {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(PADWRIGHT_DEVICES_DIR, ec))
        if (entry.path().extension() == ".evemu")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::filesystem::path> Controllers() {
    std::vector<std::filesystem::path> files = Fixtures();
    std::erase_if(files, [](const auto& f) { return NotControllers.count(f.stem().string()); });
    return files;
}

// The two ways of reaching the same devices.
struct Backends {
    std::shared_ptr<FixtureKernel> fixtureKernel = std::make_shared<FixtureKernel>();
    std::shared_ptr<IDirectInput8> fixture = CreateFixtureDirectInput(fixtureKernel);
    std::shared_ptr<IDirectInput8> evdev =
        std::make_shared<EvdevDirectInput>(std::make_shared<LibevdevKernel>());
};

std::vector<DIDEVICEINSTANCEA> Enumerate(IDirectInput8& di) {
    std::vector<DIDEVICEINSTANCEA> found;
    EXPECT_EQ(di.EnumDevices(
                  DI8DEVCLASS_GAMECTRL,
                  [&](const DIDEVICEINSTANCEA& d, void*) {
                      found.push_back(d);
                      return DIENUM_CONTINUE;
                  },
                  nullptr, DIEDFL_ATTACHEDONLY),
              DI_OK);
    return found;
}

template <typename T> T Header(DWORD obj, DWORD how) {
    T p{};
    p.diph = {sizeof(T), sizeof(DIPROPHEADER), obj, how};
    return p;
}

// Everything DirectInput tells about one device that must not depend on the backend, as text
// so that a difference shows where it is.
struct View {
    std::string identity;
    std::vector<std::string> objects;
    std::shared_ptr<IDirectInputDevice8> device;
};

std::string GuidText(const GUID& g) {
    return GuidToString(g);
}

View Open(IDirectInput8& di, const DIDEVICEINSTANCEA& instance) {
    View v;
    std::ostringstream id;
    id << instance.tszInstanceName << " | " << instance.tszProductName << " | product "
       << GuidText(instance.guidProduct) << " | type " << instance.dwDevType;
    EXPECT_EQ(di.CreateDevice(instance.guidInstance, v.device), DI_OK);
    if (!v.device)
        return v;
    IDirectInputDevice8& dev = *v.device;
    EXPECT_EQ(dev.SetDataFormat(&c_dfDIJoystick2), DI_OK);
    EXPECT_EQ(dev.SetCooperativeLevel(0, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND), DI_OK);
    auto joystickId = Header<DIPROPDWORD>(0, DIPH_DEVICE);
    EXPECT_EQ(dev.GetProperty(DIPROP_JOYSTICKID, &joystickId.diph), DI_OK);
    auto name = Header<DIPROPSTRING>(0, DIPH_DEVICE);
    EXPECT_EQ(dev.GetProperty(DIPROP_INSTANCENAME, &name.diph), DI_OK);
    id << " | id " << joystickId.dwData << " | name " << name.wsz;
    v.identity = id.str();

    dev.EnumObjects(
        [&](const DIDEVICEOBJECTINSTANCEA& o, void*) {
            std::ostringstream line;
            line << o.tszName << " | " << GuidText(o.guidType) << " | ofs " << o.dwOfs
                 << " | type 0x" << std::hex << o.dwType << " | flags 0x" << o.dwFlags << std::dec;
            auto logical = Header<DIPROPRANGE>(o.dwType, DIPH_BYID);
            if (dev.GetProperty(DIPROP_LOGICALRANGE, &logical.diph) == DI_OK)
                line << " | logical " << logical.lMin << ".." << logical.lMax;
            v.objects.push_back(line.str());
            return DIENUM_CONTINUE;
        },
        nullptr, DIDFT_ALL);

    // The settings the program gives every active controller.
    auto range = Header<DIPROPRANGE>(0, DIPH_DEVICE);
    range.lMin = -1000;
    range.lMax = 1000;
    EXPECT_EQ(dev.SetProperty(DIPROP_RANGE, &range.diph), DI_OK);
    auto deadZone = Header<DIPROPDWORD>(0, DIPH_DEVICE);
    deadZone.dwData = 1500;
    EXPECT_EQ(dev.SetProperty(DIPROP_DEADZONE, &deadZone.diph), DI_OK);
    EXPECT_EQ(dev.Acquire(), DI_OK);
    return v;
}

std::string State(IDirectInputDevice8& dev) {
    EXPECT_TRUE(SUCCEEDED(dev.Poll()));
    DIJOYSTATE2 s;
    std::memset(&s, 0xA5, sizeof s);
    EXPECT_EQ(dev.GetDeviceState(sizeof s, &s), DI_OK);
    std::ostringstream out;
    out << "axes " << s.lX << " " << s.lY << " " << s.lZ << " " << s.lRx << " " << s.lRy << " "
        << s.lRz << " sliders " << s.rglSlider[0] << " " << s.rglSlider[1] << " povs";
    for (DWORD pov : s.rgdwPOV)
        out << " " << static_cast<LONG>(pov);
    out << " buttons";
    for (int i = 0; i < 128; ++i)
        if (s.rgbButtons[i])
            out << " " << i << "=" << int(s.rgbButtons[i]);
    return out.str();
}

// The state once every button change read so far has been shown: taps read in one go are
// shown one per state, so a reader that did not lose them shows them over the next reads.
std::string SettledState(IDirectInputDevice8& dev) {
    std::string last = State(dev);
    for (int i = 0; i < 200; ++i) {
        std::string next = State(dev);
        if (next == last)
            return next;
        last = std::move(next);
    }
    ADD_FAILURE() << "the buttons never settled";
    return last;
}

class OneDevice : public testing::TestWithParam<std::filesystem::path> {
protected:
    bool IsController() const { return !NotControllers.count(GetParam().stem().string()); }
};

// One controller's description as a kernel device and as a fixture device, each listed once
// and opened with the program's settings.
class ControllerOnBoth : public testing::TestWithParam<std::filesystem::path> {
protected:
    void SetUp() override {
        file = LoadEvemuFile(GetParam().string());
        device = std::make_unique<KernelDevice>(file.description);
        fixtureNode = b.fixtureKernel->Add(file.description);
        const auto realList = Enumerate(*b.evdev);
        const auto fixtureList = Enumerate(*b.fixture);
        ASSERT_EQ(realList.size(), 1u);
        ASSERT_EQ(fixtureList.size(), 1u);
        real = Open(*b.evdev, realList[0]);
        fixture = Open(*b.fixture, fixtureList[0]);
        ASSERT_TRUE(real.device && fixture.device);
    }
    // Writes to the kernel device and pushes to the fixture device alike.
    void Send(const std::vector<EvdevEvent>& events) {
        device->Write(events);
        b.fixtureKernel->Push(fixtureNode, events);
    }

    EvemuDevice file;
    std::unique_ptr<KernelDevice> device;
    Backends b;
    int fixtureNode = -1;
    View real, fixture;
};

TEST(EvdevBackend, FixturesArePresent) {
    EXPECT_GE(Fixtures().size(), NotControllers.size() + 1);
}

TEST_P(OneDevice, KernelNodeCarriesTheDescription) {
    const EvemuDevice file = LoadEvemuFile(GetParam().string());
    const EvdevDescription& want = file.description;
    KernelDevice device(want);
    std::unique_ptr<IEvdevNode> node;
    ASSERT_EQ(LibevdevKernel().Open(device.Node(), node), 0) << device.Node();
    const EvdevDescription& got = node->Description();

    EXPECT_EQ(got.name, want.name);
    EXPECT_EQ(got.bus, want.bus);
    EXPECT_EQ(got.vendor, want.vendor);
    EXPECT_EQ(got.product, want.product);
    EXPECT_EQ(got.version, want.version);
    EXPECT_EQ(got.properties, want.properties);
    EXPECT_EQ(got.keys, want.keys);
    EXPECT_EQ(got.abs, want.abs);
    EXPECT_EQ(got.rel, want.rel);
    for (unsigned code = 0; code < ABS_CNT; ++code) {
        if (!want.abs.test(code))
            continue;
        const AbsRange &g = got.absinfo[code], &w = want.absinfo[code];
        EXPECT_EQ(std::tie(g.value, g.minimum, g.maximum, g.fuzz, g.flat, g.resolution),
                  std::tie(w.value, w.minimum, w.maximum, w.fuzz, w.flat, w.resolution))
            << "abs " << code;
    }
}

TEST_P(OneDevice, OnlyControllersAreListed) {
    const EvemuDevice file = LoadEvemuFile(GetParam().string());
    KernelDevice device(file.description);
    Backends b;
    b.fixtureKernel->Add(file.description);
    const auto real = Enumerate(*b.evdev);
    EXPECT_EQ(real.size(), Enumerate(*b.fixture).size());
    EXPECT_EQ(real.size(), IsController() ? 1u : 0u);
}

TEST_P(ControllerOnBoth, SameObjectsRangesAndStates) {
    EXPECT_EQ(real.identity, fixture.identity);
    EXPECT_EQ(real.objects, fixture.objects);
    EXPECT_FALSE(real.objects.empty());

    const std::string resting = State(*real.device);
    EXPECT_EQ(resting, State(*fixture.device)) << "at rest";
    if (file.events.empty())
        return;
    Send(file.events);
    const std::string replayed = State(*real.device);
    EXPECT_EQ(replayed, State(*fixture.device)) << "after the recording";
    EXPECT_NE(replayed, resting) << "the recording changed nothing";
}

struct Frame {
    std::string what;
    std::vector<EvdevEvent> events;
};

// Moves every control of a device, one at a time: each axis to both ends, one step back from
// full travel (a jittering axis, where the kernel's fuzz filter acts and no dead zone hides
// it), to its centre and back to rest; each button down and up.
std::vector<Frame> Sweep(const EvdevDescription& d) {
    std::vector<Frame> frames;
    auto add = [&](std::string what, std::uint16_t type, std::uint16_t code, std::int32_t value) {
        frames.push_back({std::move(what), {{type, code, value}, {EV_SYN, SYN_REPORT, 0}}});
    };
    for (unsigned code = 0; code < ABS_CNT; ++code) {
        if (!d.abs.test(code))
            continue;
        const AbsRange& r = d.absinfo[code];
        const std::int32_t centre = r.minimum + (r.maximum - r.minimum) / 2;
        const std::string axis = "abs " + std::to_string(code) + " to ";
        for (std::int32_t v : {r.minimum, r.maximum, r.maximum - 1, centre, r.value})
            add(axis + std::to_string(v), EV_ABS, code, v);
    }
    for (unsigned code = BTN_MISC; code < KEY_CNT; ++code) {
        if (!d.keys.test(code))
            continue;
        add("key " + std::to_string(code) + " down", EV_KEY, code, 1);
        add("key " + std::to_string(code) + " up", EV_KEY, code, 0);
    }
    return frames;
}

TEST_P(ControllerOnBoth, EveryControlMovesAlike) {
    int differences = 0;
    for (const Frame& frame : Sweep(file.description)) {
        Send(frame.events);
        const std::string got = State(*real.device), want = State(*fixture.device);
        if (got != want && ++differences <= 5)
            ADD_FAILURE() << frame.what << ":\n  evdev   " << got << "\n  fixture " << want;
    }
    EXPECT_EQ(differences, 0);
}

TEST_P(ControllerOnBoth, UnpluggedWhileReadFailsAlike) {
    ASSERT_EQ(State(*real.device), State(*fixture.device));
    device.reset();
    b.fixtureKernel->Unplug(fixtureNode);
    auto results = [](IDirectInputDevice8& dev) {
        DIJOYSTATE2 s;
        std::vector<HRESULT> codes{dev.Poll(), dev.GetDeviceState(sizeof s, &s), dev.Acquire()};
        return codes;
    };
    const std::vector<HRESULT> gone = results(*real.device);
    EXPECT_EQ(gone, results(*fixture.device));
    EXPECT_TRUE(FAILED(gone[0])) << "a vanished device must not poll as if it were there";
    EXPECT_TRUE(Enumerate(*b.evdev).empty());
}

TEST(EvdevBackend, ListsTheControllersOfAllDevicesInNodeOrder) {
    Backends b;
    std::vector<std::unique_ptr<KernelDevice>> devices;
    std::vector<std::string> expected;
    for (const auto& path : Fixtures()) {
        const EvemuDevice file = LoadEvemuFile(path.string());
        devices.push_back(std::make_unique<KernelDevice>(file.description));
        b.fixtureKernel->Add(file.description);
        if (!NotControllers.count(path.stem().string()))
            expected.push_back(file.description.name);
    }
    std::vector<std::string> real, fixture;
    for (const auto& d : Enumerate(*b.evdev))
        real.push_back(Open(*b.evdev, d).identity);
    for (const auto& d : Enumerate(*b.fixture))
        fixture.push_back(Open(*b.fixture, d).identity);
    EXPECT_EQ(real, fixture);
    ASSERT_EQ(real.size(), expected.size());
    for (std::size_t i = 0; i < real.size(); ++i)
        EXPECT_EQ(real[i].substr(0, real[i].find(" | ")), expected[i]);
}

// uinput devices, like many virtual pads, have neither a serial nor a port path: two of one
// kind must still be two controllers, each read from its own node.
TEST(EvdevBackend, IdenticalPadsAreTwoControllers) {
    const EvemuDevice file =
        LoadEvemuFile(std::string(PADWRIGHT_DEVICES_DIR) + "/xbox360-pad-xpad-ayaneo-air.evemu");
    KernelDevice first(file.description), second(file.description);
    Backends b;
    const auto listed = Enumerate(*b.evdev);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_FALSE(listed[0].guidInstance == listed[1].guidInstance);
    View one = Open(*b.evdev, listed[0]);
    View two = Open(*b.evdev, listed[1]);
    ASSERT_TRUE(one.device && two.device);
    second.Write({{EV_KEY, BTN_SOUTH, 1}, {EV_SYN, SYN_REPORT, 0}});
    EXPECT_EQ(State(*one.device).find("buttons 0="), std::string::npos);
    EXPECT_NE(State(*two.device).find("buttons 0=128"), std::string::npos);
}

// Whether a SYN_DROPPED is among the events pending on `fd`.
bool SawDropped(int fd) {
    input_event ev;
    bool dropped = false;
    while (read(fd, &ev, sizeof ev) == static_cast<ssize_t>(sizeof ev))
        dropped = dropped || (ev.type == EV_SYN && ev.code == SYN_DROPPED);
    return dropped;
}

// A reader that falls behind loses events: the kernel keeps a few hundred per reader, drops
// the rest and says so (SYN_DROPPED). The backend must then catch up with the device's real
// state, including what changed only in the lost part: a button held and a hat pushed before
// thousands of frames of stick and button noise.
TEST(EvdevBackend, CatchesUpAfterTheKernelDroppedEvents) {
    const EvemuDevice file =
        LoadEvemuFile(std::string(PADWRIGHT_DEVICES_DIR) + "/xbox360-pad-xpad-ayaneo-air.evemu");
    KernelDevice device(file.description);
    Backends b;
    const int fixtureNode = b.fixtureKernel->Add(file.description);
    const auto listed = Enumerate(*b.evdev);
    ASSERT_EQ(listed.size(), 1u);
    View real = Open(*b.evdev, listed[0]);
    View fixture = Open(*b.fixture, Enumerate(*b.fixture).at(0));
    ASSERT_TRUE(real.device && fixture.device);
    const int raw = open(device.Node().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(raw, 0);

    std::vector<EvdevEvent> flood = {
        {EV_KEY, BTN_EAST, 1}, {EV_ABS, ABS_HAT0X, -1}, {EV_SYN, SYN_REPORT, 0}};
    for (int i = 0; i < 5000; ++i) {
        flood.push_back({EV_ABS, ABS_X, (i * 997) % 65536 - 32768});
        flood.push_back({EV_KEY, BTN_SOUTH, (i + 1) % 2});
        flood.push_back({EV_SYN, SYN_REPORT, 0});
    }
    flood.push_back({EV_ABS, ABS_X, 32767});
    flood.push_back({EV_SYN, SYN_REPORT, 0});
    device.Write(flood);
    b.fixtureKernel->Push(fixtureNode, flood);

    EXPECT_TRUE(SawDropped(raw)) << "the flood did not overflow the kernel's buffer";
    close(raw);
    const std::string state = SettledState(*real.device);
    EXPECT_EQ(state, SettledState(*fixture.device));
    EXPECT_EQ(state.rfind("axes 1000 ", 0), 0u) << state;
    EXPECT_NE(state.find(" povs 27000 "), std::string::npos) << state;
    EXPECT_NE(state.find(" buttons 1=128"), std::string::npos) << state;
    EXPECT_EQ(state.find(" 0=128"), std::string::npos) << state; // BTN_SOUTH ended up
}

std::string FileName(const testing::TestParamInfo<std::filesystem::path>& info) {
    std::string name = info.param.stem().string();
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(RealDevices, OneDevice, testing::ValuesIn(Fixtures()), FileName);
INSTANTIATE_TEST_SUITE_P(RealDevices, ControllerOnBoth, testing::ValuesIn(Controllers()), FileName);

} // namespace
} // namespace padwright::vm
