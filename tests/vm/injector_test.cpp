// The uinput injector against the real kernel: what it sends is read back from the event node
// of its own virtual device, as a desktop's input stack would read it.
#include "../inject/LayoutTable.h"
#include "EventNode.h"
#include "platform/inject/UinputDevice.h"
#include "platform/inject/UinputInjector.h"

#include <gtest/gtest.h>
#include <libevdev/libevdev.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <functional>
#include <unistd.h>

namespace padwright::vm {
namespace {

// Windows virtual-key and app-command numbers the cases use.
constexpr std::uint8_t VkShift = 0x10, VkControl = 0x11, VkMenu = 0x12, VkLWin = 0x5B;
constexpr std::uint8_t VkA = 0x41, VkB = 0x42, VkF4 = 0x73;
constexpr std::uint32_t AppCommandVolumeUp = 10, AppCommandPlayPause = 14;

void Stroke(IInputInjector& in, std::uint8_t vk, bool down) {
    in.keybd_event(vk, static_cast<std::uint8_t>(in.MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)),
                   down ? 0 : KEYEVENTF_KEYUP, 0);
}

void Strokes(IInputInjector& in, std::initializer_list<std::pair<std::uint8_t, bool>> keys) {
    for (auto [vk, down] : keys)
        Stroke(in, vk, down);
}

// Passes writes on to the real device and runs a hook just before the device is removed.
class HookedWriter : public IUinputWriter {
public:
    HookedWriter(std::unique_ptr<IUinputWriter> device, std::function<void()>& beforeClose)
        : device_(std::move(device)), beforeClose_(beforeClose) {}
    ~HookedWriter() override {
        if (beforeClose_)
            beforeClose_();
    }
    void Write(std::span<const input_event> events) override { device_->Write(events); }

private:
    std::unique_ptr<IUinputWriter> device_;
    std::function<void()>& beforeClose_;
};

class InjectorOnKernel : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        auto device = OpenUinputDevice(error);
        ASSERT_TRUE(device) << error;
        injector_ = std::make_unique<UinputInjector>(
            std::make_unique<HookedWriter>(std::move(device), drainBeforeClose_),
            std::make_unique<layouts::SwitchableLayout>(layout_));
        node_ = NodeNamed(VirtualDeviceName, std::chrono::seconds(1));
        ASSERT_FALSE(node_.empty()) << "no event node named " << VirtualDeviceName;
        reader_ = std::make_unique<EventNode>(node_);
        ASSERT_TRUE(reader_->ok());
    }
    std::function<void()> drainBeforeClose_;
    // The guest has no display to read a layout from: the test hands it in.
    const LayoutKeys us_ = LayoutKeys::Us();
    const LayoutKeys* layout_ = &us_;
    std::unique_ptr<UinputInjector> injector_;
    std::string node_;
    std::unique_ptr<EventNode> reader_;
};

struct Case {
    const char* what;
    std::function<void(IInputInjector&)> act;
    std::vector<Ev> expected;
};

class InjectorCases : public InjectorOnKernel, public testing::WithParamInterface<Case> {};

TEST_P(InjectorCases, NodeReadsBackWhatWasInjected) {
    GetParam().act(*injector_);
    bool endsInReport = false;
    EXPECT_EQ(reader_->Drain(endsInReport), GetParam().expected);
    EXPECT_TRUE(endsInReport) << "the last event must close a report, or readers wait for it";
}

const Case cases[] = {
    {"CtrlA",
     [](IInputInjector& in) {
         Strokes(in, {{VkControl, true}, {VkA, true}, {VkA, false}, {VkControl, false}});
     },
     {{EV_KEY, KEY_LEFTCTRL, 1},
      {EV_KEY, KEY_A, 1},
      {EV_KEY, KEY_A, 0},
      {EV_KEY, KEY_LEFTCTRL, 0}}},
    {"ShiftAltWinF4",
     [](IInputInjector& in) {
         Strokes(in, {{VkShift, true},
                      {VkMenu, true},
                      {VkLWin, true},
                      {VkF4, true},
                      {VkF4, false},
                      {VkLWin, false},
                      {VkMenu, false},
                      {VkShift, false}});
     },
     {{EV_KEY, KEY_LEFTSHIFT, 1},
      {EV_KEY, KEY_LEFTALT, 1},
      {EV_KEY, KEY_LEFTMETA, 1},
      {EV_KEY, KEY_F4, 1},
      {EV_KEY, KEY_F4, 0},
      {EV_KEY, KEY_LEFTMETA, 0},
      {EV_KEY, KEY_LEFTALT, 0},
      {EV_KEY, KEY_LEFTSHIFT, 0}}},
    {"PointerMove",
     [](IInputInjector& in) { in.mouse_event(MOUSEEVENTF_MOVE, 7, -4, 0, 0); },
     {{EV_REL, REL_X, 7}, {EV_REL, REL_Y, -4}}},
    {"LeftAndRightClick",
     [](IInputInjector& in) {
         in.mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
         in.mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
         in.mouse_event(MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
     },
     {{EV_KEY, BTN_LEFT, 1},
      {EV_KEY, BTN_LEFT, 0},
      {EV_KEY, BTN_RIGHT, 1},
      {EV_KEY, BTN_RIGHT, 0}}},
    {"WheelNotchEachWay",
     [](IInputInjector& in) {
         in.mouse_event(MOUSEEVENTF_WHEEL, 0, 0, -120, 0);
         in.mouse_event(MOUSEEVENTF_WHEEL, 0, 0, 120, 0);
     },
     {{EV_REL, REL_WHEEL, -1},
      {EV_REL, REL_WHEEL_HI_RES, -120},
      {EV_REL, REL_WHEEL, 1},
      {EV_REL, REL_WHEEL_HI_RES, 120}}},
    {"MediaKeys",
     [](IInputInjector& in) {
         in.SendAppCommand(AppCommandVolumeUp << 16);
         in.SendAppCommand(AppCommandPlayPause << 16);
     },
     {{EV_KEY, KEY_VOLUMEUP, 1},
      {EV_KEY, KEY_VOLUMEUP, 0},
      {EV_KEY, KEY_PLAYPAUSE, 1},
      {EV_KEY, KEY_PLAYPAUSE, 0}}},
};

INSTANTIATE_TEST_SUITE_P(Kernel, InjectorCases, testing::ValuesIn(cases),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.what; });

// The same table as under Xvfb, with each layout compiled from its name by the XKB data copied
// into the guest, switched while the one injector lives.
TEST_F(InjectorOnKernel, EachLayoutPressesItsKeys) {
    for (const auto& row : layouts::LayoutRows) {
        SCOPED_TRACE(row.layout);
        std::string error;
        const auto keys = LayoutKeysFromNames({row.layout, "", "pc105", ""}, error);
        ASSERT_TRUE(keys) << error;
        layout_ = &*keys;
        std::vector<Ev> expected;
        for (std::size_t i = 0; i < layouts::LayoutVks.size(); ++i) {
            Strokes(*injector_, {{layouts::LayoutVks[i], true}, {layouts::LayoutVks[i], false}});
            const auto code =
                static_cast<std::uint16_t>(row.xKeycodes[i] - layouts::XKeycodeOffset);
            expected.push_back({EV_KEY, code, 1});
            expected.push_back({EV_KEY, code, 0});
        }
        bool endsInReport = false;
        EXPECT_EQ(reader_->Drain(endsInReport), expected);
        layout_ = &us_;
    }
}

TEST_F(InjectorOnKernel, DeviceCarriesItsNameAndTheHighResolutionWheel) {
    libevdev* dev = nullptr;
    ASSERT_EQ(libevdev_new_from_fd(reader_->fd(), &dev), 0);
    EXPECT_STREQ(libevdev_get_name(dev), VirtualDeviceName);
    EXPECT_TRUE(libevdev_has_event_code(dev, EV_REL, REL_WHEEL_HI_RES));
    EXPECT_TRUE(libevdev_has_event_code(dev, EV_KEY, KEY_PLAYPAUSE));
    libevdev_free(dev);
}

TEST_F(InjectorOnKernel, DestroyingTheInjectorReleasesWhatItHeld) {
    Strokes(*injector_, {{VkControl, true}, {VkB, true}});
    injector_->mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    bool endsInReport = false;
    reader_->Drain(endsInReport);

    // The kernel itself lets go of held keys when a device goes away, and an evdev node that
    // has lost its device returns nothing more; so the node is read between the injector's
    // last write and the device's removal, which is where the releases must already be.
    std::vector<Ev> released;
    drainBeforeClose_ = [&] { released = reader_->Drain(endsInReport); };
    injector_.reset();

    std::sort(released.begin(), released.end(),
              [](const Ev& a, const Ev& b) { return a.code < b.code; });
    EXPECT_EQ(released, (std::vector<Ev>{
                            {EV_KEY, KEY_LEFTCTRL, 0}, {EV_KEY, KEY_B, 0}, {EV_KEY, BTN_LEFT, 0}}));
    EXPECT_TRUE(endsInReport);
    input_event e;
    EXPECT_EQ(read(reader_->fd(), &e, sizeof e), -1);
    EXPECT_EQ(errno, ENODEV) << "the device must be gone with the injector";
}

} // namespace
} // namespace padwright::vm
