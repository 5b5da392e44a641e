// The kinds of node a desktop has besides the real-device fixtures.
#include "platform/dinput/Classification.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace padwright {
namespace {

struct Node {
    std::initializer_list<unsigned> keys, abs, rel, props;
};

EvdevDescription Describe(const Node& n) {
    EvdevDescription d;
    for (unsigned k : n.keys)
        d.keys.set(k);
    for (unsigned a : n.abs)
        d.abs.set(a);
    for (unsigned r : n.rel)
        d.rel.set(r);
    for (unsigned p : n.props)
        d.properties.set(p);
    return d;
}

TEST(ClassificationTest, OnlyControllersPass) {
    struct {
        const char* what;
        Node node;
        bool controller;
    } cases[] = {
        {"gamepad buttons only", {{BTN_SOUTH, BTN_EAST}, {}, {}, {}}, true},
        {"trigger-happy buttons only", {{BTN_TRIGGER_HAPPY1}, {}, {}, {}}, true},
        {"unnamed 0x2ff", {{0x2ff}, {}, {}, {}}, true},
        {"absolute X and Y only", {{}, {ABS_X, ABS_Y}, {}, {}}, true},
        {"absolute X alone", {{}, {ABS_X}, {}, {}}, true},
        {"pedal box: gas and brake", {{}, {ABS_GAS, ABS_BRAKE}, {}, {}}, true},
        {"pedal box: wheel, gas and brake", {{}, {ABS_WHEEL, ABS_GAS, ABS_BRAKE}, {}, {}}, true},
        {"volume knob", {{KEY_VOLUMEUP}, {ABS_VOLUME}, {}, {}}, false},
        {"keyboard with a stick",
         {{KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8, KEY_9, KEY_0, KEY_Q, KEY_A,
           KEY_Z},
          {ABS_X, ABS_Y},
          {},
          {}},
         false},
        {"keyboard", {{KEY_A, KEY_ENTER, KEY_LEFTSHIFT}, {}, {}, {}}, false},
        {"macro keys", {{KEY_MACRO1, KEY_KBD_LCD_MENU5}, {}, {}, {}}, false},
        {"mouse", {{BTN_LEFT, BTN_RIGHT}, {}, {REL_X, REL_Y, REL_WHEEL}, {}}, false},
        // The program's own virtual input device: keys, mouse buttons and pointer axes.
        {"virtual keyboard and mouse",
         {{KEY_A, KEY_VOLUMEUP, BTN_LEFT, BTN_SIDE}, {}, {REL_X, REL_Y, REL_WHEEL_HI_RES}, {}},
         false},
        {"touchpad", {{BTN_LEFT, BTN_TOUCH, BTN_TOOL_FINGER}, {ABS_X, ABS_Y}, {}, {}}, false},
        {"clickpad by property", {{}, {ABS_X, ABS_Y}, {}, {INPUT_PROP_BUTTONPAD}}, false},
        {"pen tablet", {{BTN_TOOL_PEN, BTN_STYLUS}, {ABS_X, ABS_Y, ABS_PRESSURE}, {}, {}}, false},
        {"pointer property", {{}, {ABS_X, ABS_Y}, {}, {INPUT_PROP_POINTER}}, false},
        {"motion sensors", {{}, {ABS_X, ABS_Y, ABS_Z}, {}, {INPUT_PROP_ACCELEROMETER}}, false},
        {"joystick with a mouse-like extra",
         {{BTN_TRIGGER, BTN_LEFT}, {ABS_X, ABS_Y}, {}, {}},
         true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsGameController(Describe(c.node)), c.controller) << c.what;
}

} // namespace
} // namespace padwright
