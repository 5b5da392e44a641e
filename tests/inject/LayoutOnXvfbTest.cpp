// Both injectors under the layouts of a private Xvfb, switched with setxkbmap while they live.
// XTest's keys are read back as XInput2 raw events, which carry the X key code whatever window
// has the focus; the uinput injector writes to a recorder and follows the same server's map.
#include <gtest/gtest.h>

#include "LayoutTable.h"
#include "XvfbServer.h"
#include "platform/inject/UinputInjector.h"
#include "platform/inject/X11Layout.h"
#include "platform/inject/XTestInjector.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <poll.h>

#include "NextXEvent.h" // after the toolkit and ours: Xlib defines None, Bool, ...

#include <cstdlib>
#include <optional>
#include <vector>

namespace padwright {
namespace {

using layouts::LayoutRows;
using layouts::LayoutVks;
using layouts::XKeycodeOffset;

struct Stroke {
    bool down;
    unsigned code;
};

class KeyRecorder : public IUinputWriter {
public:
    explicit KeyRecorder(std::vector<Stroke>& keys) : keys_(keys) {}
    void Write(std::span<const input_event> events) override {
        for (const input_event& e : events)
            if (e.type == EV_KEY)
                keys_.push_back({e.value != 0, e.code});
    }

private:
    std::vector<Stroke>& keys_;
};

class LayoutOnXvfb : public ::testing::Test {
protected:
    void SetUp() override {
        reader_ = XOpenDisplay(server_.display().c_str());
        ASSERT_NE(reader_, nullptr);
        int event, error, major = 2, minor = 0;
        ASSERT_TRUE(XQueryExtension(reader_, "XInputExtension", &xiOpcode_, &event, &error));
        ASSERT_EQ(XIQueryVersion(reader_, &major, &minor), Success);
        unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
        XISetMask(bits, XI_RawKeyPress);
        XISetMask(bits, XI_RawKeyRelease);
        XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
        XISelectEvents(reader_, DefaultRootWindow(reader_), &mask, 1);
        XSync(reader_, False);

        std::string why;
        xtest_ = XTestInjector::Open(server_.display().c_str(), why);
        ASSERT_NE(xtest_, nullptr) << why;
        auto layout = X11Layout::Open(server_.display().c_str(), why);
        ASSERT_NE(layout, nullptr) << why;
        uinput_ = std::make_unique<UinputInjector>(std::make_unique<KeyRecorder>(written_),
                                                   std::move(layout));
    }

    void TearDown() override {
        xtest_.reset();
        if (reader_)
            XCloseDisplay(reader_);
    }

    void SetLayout(const std::string& arguments) {
        const std::string command =
            "setxkbmap -display " + server_.display() + " " + arguments + " 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command << " (is x11-xkb-utils installed?)";
        XSync(reader_, False);
    }

    // The next raw key event the server reports, nullopt when none comes within five seconds.
    std::optional<Stroke> NextRaw() {
        for (;;) {
            const std::optional<XEvent> next = testing::NextXEvent(reader_);
            if (!next)
                return std::nullopt;
            XEvent e = *next;
            if (e.type != GenericEvent || e.xcookie.extension != xiOpcode_ ||
                !XGetEventData(reader_, &e.xcookie))
                continue;
            const auto* raw = static_cast<const XIRawEvent*>(e.xcookie.data);
            const Stroke stroke{e.xcookie.evtype == XI_RawKeyPress,
                                static_cast<unsigned>(raw->detail)};
            XFreeEventData(reader_, &e.xcookie);
            return stroke;
        }
    }

    // Strikes `vk` through both injectors: the X key code XTest pressed and released, and the
    // kernel code the uinput injector did, plus 8; 0 when they pressed and released different
    // keys. MapVirtualKeyA must name the same key on both.
    std::pair<unsigned, unsigned> Strike(std::uint8_t vk) {
        xtest_->keybd_event(vk, 0, 0, 0);
        xtest_->keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
        const auto press = NextRaw(), release = NextRaw();
        unsigned x = 0;
        if (press && release && press->down && !release->down && press->code == release->code)
            x = press->code;
        EXPECT_EQ(xtest_->MapVirtualKeyA(vk, MAPVK_VK_TO_VSC) + XKeycodeOffset, x);

        written_.clear();
        uinput_->keybd_event(vk, 0, 0, 0);
        uinput_->keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
        unsigned u = 0;
        if (written_.size() == 2 && written_[0].down && !written_[1].down &&
            written_[0].code == written_[1].code)
            u = written_[0].code + XKeycodeOffset;
        EXPECT_EQ(uinput_->MapVirtualKeyA(vk, MAPVK_VK_TO_VSC) + XKeycodeOffset, u);
        return {x, u};
    }

    testing::XvfbServer server_;
    Display* reader_ = nullptr;
    int xiOpcode_ = 0;
    std::unique_ptr<XTestInjector> xtest_;
    std::vector<Stroke> written_;
    std::unique_ptr<UinputInjector> uinput_;
};

TEST_F(LayoutOnXvfb, BothInjectorsFollowEachLayoutAsItIsSwitched) {
    for (const auto& row : LayoutRows) {
        SCOPED_TRACE(row.layout);
        SetLayout(row.layout);
        for (std::size_t i = 0; i < LayoutVks.size(); ++i) {
            const auto [x, u] = Strike(LayoutVks[i]);
            EXPECT_EQ(x, row.xKeycodes[i]) << "XTest, vk 0x" << std::hex << int(LayoutVks[i]);
            EXPECT_EQ(u, row.xKeycodes[i]) << "uinput, vk 0x" << std::hex << int(LayoutVks[i]);
        }
    }
}

TEST_F(LayoutOnXvfb, TheActiveGroupDecides) {
    constexpr std::uint8_t VkZ = 0x5A;
    SetLayout("-layout us,de");
    EXPECT_EQ(Strike(VkZ), std::make_pair(52u, 52u));
    ASSERT_TRUE(XkbLockGroup(reader_, XkbUseCoreKbd, 1));
    XSync(reader_, False);
    EXPECT_EQ(Strike(VkZ), std::make_pair(29u, 29u));
}

} // namespace
} // namespace padwright
