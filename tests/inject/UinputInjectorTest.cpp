#include "platform/inject/UinputInjector.h"

#include <gtest/gtest.h>

#include <vector>

namespace padwright {
namespace {

struct Ev {
    std::uint16_t type, code;
    std::int32_t value;
    bool operator==(const Ev&) const = default;
};
using Batch = std::vector<Ev>;

std::ostream& operator<<(std::ostream& os, const Ev& e) {
    return os << "{" << e.type << "," << e.code << "," << e.value << "}";
}

// Stands in for /dev/uinput: keeps each write as one batch.
class FakeWriter : public IUinputWriter {
public:
    explicit FakeWriter(std::vector<Batch>& writes) : writes_(writes) {}
    void Write(std::span<const input_event> events) override {
        Batch batch;
        for (const auto& e : events)
            batch.push_back({e.type, e.code, e.value});
        writes_.push_back(batch);
    }

private:
    std::vector<Batch>& writes_;
};

const Ev Syn{EV_SYN, SYN_REPORT, 0};

class UinputInjectorTest : public ::testing::Test {
protected:
    std::vector<Batch> writes;
    std::unique_ptr<UinputInjector> injector =
        std::make_unique<UinputInjector>(std::make_unique<FakeWriter>(writes));
};

TEST_F(UinputInjectorTest, CtrlAStrokeIsFourBatchesEachWithItsOwnReport) {
    injector->keybd_event(0x11, 0x1D, 0, 0);
    injector->keybd_event(0x41, 0x1E, 0, 0);
    injector->keybd_event(0x41, 0x1E, KEYEVENTF_KEYUP, 0);
    injector->keybd_event(0x11, 0x1D, KEYEVENTF_KEYUP, 0);
    const std::vector<Batch> expected = {{{EV_KEY, KEY_LEFTCTRL, 1}, Syn},
                                         {{EV_KEY, KEY_A, 1}, Syn},
                                         {{EV_KEY, KEY_A, 0}, Syn},
                                         {{EV_KEY, KEY_LEFTCTRL, 0}, Syn}};
    EXPECT_EQ(writes, expected);
}

TEST_F(UinputInjectorTest, PressingAHeldKeyAgainIsARepeat) {
    injector->keybd_event(0x41, 0x1E, 0, 0);
    injector->keybd_event(0x41, 0x1E, 0, 0);
    injector->keybd_event(0x41, 0x1E, KEYEVENTF_KEYUP, 0);
    injector->keybd_event(0x41, 0x1E, 0, 0);
    ASSERT_EQ(writes.size(), 4u);
    EXPECT_EQ(writes[1][0].value, 2);
    EXPECT_EQ(writes[3][0].value, 1);

    // A mouse button has no repeat: pressing it again while down sends nothing.
    writes.clear();
    injector->keybd_event(0x01, 0, 0, 0);
    injector->mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    injector->keybd_event(0x01, 0, 0, 0);
    EXPECT_EQ(writes, (std::vector<Batch>{{{EV_KEY, BTN_LEFT, 1}, Syn}}));
}

TEST_F(UinputInjectorTest, MouseButtonKeysPressButtons) {
    const std::pair<std::uint8_t, std::uint16_t> cases[] = {{0x01, BTN_LEFT},
                                                            {0x02, BTN_RIGHT},
                                                            {0x04, BTN_MIDDLE},
                                                            {0x05, BTN_SIDE},
                                                            {0x06, BTN_EXTRA}};
    for (const auto& [vk, button] : cases) {
        writes.clear();
        injector->keybd_event(vk, 0, 0, 0);
        injector->keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
        const std::vector<Batch> expected = {{{EV_KEY, button, 1}, Syn},
                                             {{EV_KEY, button, 0}, Syn}};
        EXPECT_EQ(writes, expected) << int(vk);
    }
}

TEST_F(UinputInjectorTest, KeysWithoutALinuxKeySendNothing) {
    injector->keybd_event(0xDF, 0, 0, 0); // VK_OEM_8
    injector->keybd_event(0xFF, 0, 0, 0);
    injector->mouse_event(0, 5, 5, 0, 0); // no flag: nothing to do
    EXPECT_TRUE(writes.empty());
}

TEST_F(UinputInjectorTest, MouseEventsAreOneBatchEach) {
    struct Case {
        std::uint32_t flags;
        std::int32_t dx, dy, data;
        Batch expected;
    };
    const Case cases[] = {
        {MOUSEEVENTF_MOVE, -7, 3, 0, {{EV_REL, REL_X, -7}, {EV_REL, REL_Y, 3}, Syn}},
        {MOUSEEVENTF_MOVE, 0, 4, 0, {{EV_REL, REL_Y, 4}, Syn}},
        {MOUSEEVENTF_LEFTDOWN, 0, 0, 0, {{EV_KEY, BTN_LEFT, 1}, Syn}},
        {MOUSEEVENTF_LEFTUP, 0, 0, 0, {{EV_KEY, BTN_LEFT, 0}, Syn}},
        {MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, {{EV_KEY, BTN_RIGHT, 1}, Syn}},
        {MOUSEEVENTF_RIGHTUP, 0, 0, 0, {{EV_KEY, BTN_RIGHT, 0}, Syn}},
        {MOUSEEVENTF_MIDDLEDOWN, 0, 0, 0, {{EV_KEY, BTN_MIDDLE, 1}, Syn}},
        {MOUSEEVENTF_MIDDLEUP, 0, 0, 0, {{EV_KEY, BTN_MIDDLE, 0}, Syn}},
        {MOUSEEVENTF_XDOWN, 0, 0, 1, {{EV_KEY, BTN_SIDE, 1}, Syn}},
        {MOUSEEVENTF_XUP, 0, 0, 1, {{EV_KEY, BTN_SIDE, 0}, Syn}},
        {MOUSEEVENTF_XDOWN, 0, 0, 2, {{EV_KEY, BTN_EXTRA, 1}, Syn}},
        {MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN,
         2,
         0,
         0,
         {{EV_REL, REL_X, 2}, {EV_KEY, BTN_LEFT, 1}, Syn}},
    };
    for (const auto& c : cases) {
        writes.clear();
        injector->mouse_event(c.flags, c.dx, c.dy, c.data, 0);
        ASSERT_EQ(writes.size(), 1u) << c.flags;
        EXPECT_EQ(writes[0], c.expected) << c.flags;
    }
}

TEST_F(UinputInjectorTest, EveryFlagAtOnceStaysOneBatchInFlagOrder) {
    constexpr std::uint32_t all = MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP |
                                  MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_RIGHTUP |
                                  MOUSEEVENTF_MIDDLEDOWN | MOUSEEVENTF_MIDDLEUP |
                                  MOUSEEVENTF_XDOWN | MOUSEEVENTF_XUP | MOUSEEVENTF_WHEEL;
    injector->mouse_event(all, 1, 2, XBUTTON1 | XBUTTON2, 0);
    const Batch expected = {{EV_REL, REL_X, 1},
                            {EV_REL, REL_Y, 2},
                            {EV_KEY, BTN_LEFT, 1},
                            {EV_KEY, BTN_LEFT, 0},
                            {EV_KEY, BTN_RIGHT, 1},
                            {EV_KEY, BTN_RIGHT, 0},
                            {EV_KEY, BTN_MIDDLE, 1},
                            {EV_KEY, BTN_MIDDLE, 0},
                            {EV_KEY, BTN_SIDE, 1},
                            {EV_KEY, BTN_EXTRA, 1},
                            {EV_KEY, BTN_SIDE, 0},
                            {EV_KEY, BTN_EXTRA, 0},
                            Syn}; // the wheel shares the data word with the X buttons
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0], expected);
}

TEST_F(UinputInjectorTest, WheelSendsNotchesAndHighResolution) {
    injector->mouse_event(MOUSEEVENTF_WHEEL, 0, 0, -120, 0); // one notch toward the user
    injector->mouse_event(MOUSEEVENTF_WHEEL, 0, 0, 120, 0);
    injector->mouse_event(MOUSEEVENTF_WHEEL, 0, 0, 60, 0); // half a notch: fine axis only
    injector->mouse_event(MOUSEEVENTF_WHEEL, 0, 0, 60, 0);
    injector->mouse_event(MOUSEEVENTF_WHEEL, 0, 0, -360, 0);
    const std::vector<Batch> expected = {
        {{EV_REL, REL_WHEEL, -1}, {EV_REL, REL_WHEEL_HI_RES, -120}, Syn},
        {{EV_REL, REL_WHEEL, 1}, {EV_REL, REL_WHEEL_HI_RES, 120}, Syn},
        {{EV_REL, REL_WHEEL_HI_RES, 60}, Syn},
        {{EV_REL, REL_WHEEL, 1}, {EV_REL, REL_WHEEL_HI_RES, 60}, Syn},
        {{EV_REL, REL_WHEEL, -3}, {EV_REL, REL_WHEEL_HI_RES, -360}, Syn}};
    EXPECT_EQ(writes, expected);
}

TEST_F(UinputInjectorTest, AppCommandIsPressAndReleaseInOneWrite) {
    injector->SendAppCommand(0x000A0000); // VOLUME_UP
    injector->SendAppCommand(0x00150000); // BASS_UP: no key on Linux
    const std::vector<Batch> expected = {
        {{EV_KEY, KEY_VOLUMEUP, 1}, Syn, {EV_KEY, KEY_VOLUMEUP, 0}, Syn}};
    EXPECT_EQ(writes, expected);
}

TEST_F(UinputInjectorTest, DestructionReleasesWhatIsStillHeld) {
    injector->keybd_event(0x41, 0x1E, 0, 0);                 // A
    injector->keybd_event(0xA0, 0x2A, 0, 0);                 // left Shift
    injector->mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0); // left button
    injector->keybd_event(0x05, 0, 0, 0);                    // side button through its key
    injector->keybd_event(0xA0, 0x2A, KEYEVENTF_KEYUP, 0);
    writes.clear();
    injector.reset();
    const std::vector<Batch> expected = {
        {{EV_KEY, KEY_A, 0}, {EV_KEY, BTN_LEFT, 0}, {EV_KEY, BTN_SIDE, 0}, Syn}};
    EXPECT_EQ(writes, expected);
}

TEST_F(UinputInjectorTest, DestructionWithNothingHeldWritesNothing) {
    injector->keybd_event(0x41, 0x1E, 0, 0);
    injector->keybd_event(0x41, 0x1E, KEYEVENTF_KEYUP, 0);
    injector->SendAppCommand(0x000E0000);
    writes.clear();
    injector.reset();
    EXPECT_TRUE(writes.empty());
}

} // namespace
} // namespace padwright
