#include "engine/Catalogue.h"

#include "platform/Utf8Fit.h"

#include <array>

namespace padwright {

namespace {

constexpr std::array<TFunctionEntry, 20> AppCommandRows = {{
    {"MEDIA_PLAY", 46, "Media: play"},
    {"MEDIA_PAUSE", 47, "Media: pause"},
    {"MEDIA_PLAY_PAUSE", 14, "Media: play or pause"},
    {"MEDIA_STOP", 13, "Media: stop"},
    {"MEDIA_RECORD", 48, "Media: record"},
    {"MEDIA_FAST_FORWARD", 49, "Media: fast forward"},
    {"MEDIA_REWIND", 50, "Media: rewind"},
    {"MEDIA_NEXTTRACK", 11, "Media: next track"},
    {"MEDIA_PREVIOUSTRACK", 12, "Media: previous track"},
    {"MEDIA_CHANNEL_UP", 51, "Media: next channel"},
    {"MEDIA_CHANNEL_DOWN", 52, "Media: previous channel"},
    {"VOLUME_MUTE", 8, "Volume: mute or unmute"},
    {"VOLUME_DOWN", 9, "Volume down"},
    {"VOLUME_UP", 10, "Volume up"},
    {"BASS_DOWN", 19, "Bass down"},
    {"BASS_BOOST", 20, "Bass boost on or off"},
    {"BASS_UP", 21, "Bass up"},
    {"TREBLE_DOWN", 22, "Treble down"},
    {"TREBLE_UP", 23, "Treble up"},
    {"BROWSER_BACKWARD", 1, "Web browser: back"},
}};

constexpr std::array<TFunctionEntry, 149> VirtualKeyRows = {{
    {"VK_LBUTTON", 0x01, "Left mouse button, held as long as the control"},
    {"VK_RBUTTON", 0x02, "Right mouse button, held as long as the control"},
    {"VK_CANCEL", 0x03, "Cancel key (Break)"},
    {"VK_MBUTTON", 0x04, "Middle mouse button, held as long as the control"},
    {"VK_XBUTTON1", 0x05, "Side mouse button (back), held as long as the control"},
    {"VK_XBUTTON2", 0x06, "Extra mouse button (forward), held as long as the control"},
    {"VK_BACK", 0x08, "Backspace"},
    {"VK_TAB", 0x09, "Tab"},
    {"VK_CLEAR", 0x0C, "Clear (keypad 5 without Num Lock)"},
    {"VK_RETURN", 0x0D, "Enter"},
    {"VK_SHIFT", 0x10, "Shift"},
    {"VK_CONTROL", 0x11, "Ctrl"},
    {"VK_MENU", 0x12, "Alt"},
    {"VK_PAUSE", 0x13, "Pause"},
    {"VK_CAPITAL", 0x14, "Caps Lock"},
    {"VK_ESCAPE", 0x1B, "Escape (Esc)"},
    {"VK_SPACE", 0x20, "Space bar"},
    {"VK_PRIOR", 0x21, "Page Up"},
    {"VK_NEXT", 0x22, "Page Down"},
    {"VK_END", 0x23, "End"},
    {"VK_HOME", 0x24, "Home"},
    {"VK_LEFT", 0x25, "Left arrow"},
    {"VK_UP", 0x26, "Up arrow"},
    {"VK_RIGHT", 0x27, "Right arrow"},
    {"VK_DOWN", 0x28, "Down arrow"},
    {"VK_SELECT", 0x29, "Select"},
    {"VK_PRINT", 0x2A, "Print"},
    {"VK_EXECUTE", 0x2B, "Execute (Open)"},
    {"VK_SNAPSHOT", 0x2C, "Print Screen"},
    {"VK_INSERT", 0x2D, "Insert"},
    {"VK_DELETE", 0x2E, "Delete"},
    {"VK_HELP", 0x2F, "Help"},
    {"VK_0", 0x30, "Digit 0"},
    {"VK_1", 0x31, "Digit 1"},
    {"VK_2", 0x32, "Digit 2"},
    {"VK_3", 0x33, "Digit 3"},
    {"VK_4", 0x34, "Digit 4"},
    {"VK_5", 0x35, "Digit 5"},
    {"VK_6", 0x36, "Digit 6"},
    {"VK_7", 0x37, "Digit 7"},
    {"VK_8", 0x38, "Digit 8"},
    {"VK_9", 0x39, "Digit 9"},
    {"VK_A", 0x41, "Letter A"},
    {"VK_B", 0x42, "Letter B"},
    {"VK_C", 0x43, "Letter C"},
    {"VK_D", 0x44, "Letter D"},
    {"VK_E", 0x45, "Letter E"},
    {"VK_F", 0x46, "Letter F"},
    {"VK_G", 0x47, "Letter G"},
    {"VK_H", 0x48, "Letter H"},
    {"VK_I", 0x49, "Letter I"},
    {"VK_J", 0x4A, "Letter J"},
    {"VK_K", 0x4B, "Letter K"},
    {"VK_L", 0x4C, "Letter L"},
    {"VK_M", 0x4D, "Letter M"},
    {"VK_N", 0x4E, "Letter N"},
    {"VK_O", 0x4F, "Letter O"},
    {"VK_P", 0x50, "Letter P"},
    {"VK_Q", 0x51, "Letter Q"},
    {"VK_R", 0x52, "Letter R"},
    {"VK_S", 0x53, "Letter S"},
    {"VK_T", 0x54, "Letter T"},
    {"VK_U", 0x55, "Letter U"},
    {"VK_V", 0x56, "Letter V"},
    {"VK_W", 0x57, "Letter W"},
    {"VK_X", 0x58, "Letter X"},
    {"VK_Y", 0x59, "Letter Y"},
    {"VK_Z", 0x5A, "Letter Z"},
    {"VK_LWIN", 0x5B, "Left Super key (the Windows key)"},
    {"VK_RWIN", 0x5C, "Right Super key (the Windows key)"},
    {"VK_APPS", 0x5D, "Menu key (context menu)"},
    {"VK_SLEEP", 0x5F, "Sleep key: puts the computer to sleep"},
    {"VK_NUMPAD0", 0x60, "Keypad 0"},
    {"VK_NUMPAD1", 0x61, "Keypad 1"},
    {"VK_NUMPAD2", 0x62, "Keypad 2"},
    {"VK_NUMPAD3", 0x63, "Keypad 3"},
    {"VK_NUMPAD4", 0x64, "Keypad 4"},
    {"VK_NUMPAD5", 0x65, "Keypad 5"},
    {"VK_NUMPAD6", 0x66, "Keypad 6"},
    {"VK_NUMPAD7", 0x67, "Keypad 7"},
    {"VK_NUMPAD8", 0x68, "Keypad 8"},
    {"VK_NUMPAD9", 0x69, "Keypad 9"},
    {"VK_MULTIPLY", 0x6A, "Keypad *"},
    {"VK_ADD", 0x6B, "Keypad +"},
    {"VK_SEPARATOR", 0x6C, "Keypad separator (keypad comma)"},
    {"VK_SUBTRACT", 0x6D, "Keypad -"},
    {"VK_DECIMAL", 0x6E, "Keypad decimal point"},
    {"VK_DIVIDE", 0x6F, "Keypad /"},
    {"VK_F1", 0x70, "F1"},
    {"VK_F2", 0x71, "F2"},
    {"VK_F3", 0x72, "F3"},
    {"VK_F4", 0x73, "F4"},
    {"VK_F5", 0x74, "F5"},
    {"VK_F6", 0x75, "F6"},
    {"VK_F7", 0x76, "F7"},
    {"VK_F8", 0x77, "F8"},
    {"VK_F9", 0x78, "F9"},
    {"VK_F10", 0x79, "F10"},
    {"VK_F11", 0x7A, "F11"},
    {"VK_F12", 0x7B, "F12"},
    {"VK_F13", 0x7C, "F13"},
    {"VK_F14", 0x7D, "F14"},
    {"VK_F15", 0x7E, "F15"},
    {"VK_F16", 0x7F, "F16"},
    {"VK_F17", 0x80, "F17"},
    {"VK_F18", 0x81, "F18"},
    {"VK_F19", 0x82, "F19"},
    {"VK_F20", 0x83, "F20"},
    {"VK_F21", 0x84, "F21"},
    {"VK_F22", 0x85, "F22"},
    {"VK_F23", 0x86, "F23"},
    {"VK_F24", 0x87, "F24"},
    {"VK_NUMLOCK", 0x90, "Num Lock"},
    {"VK_SCROLL", 0x91, "Scroll Lock"},
    {"VK_LSHIFT", 0xA0, "Left Shift"},
    {"VK_RSHIFT", 0xA1, "Right Shift"},
    {"VK_LCONTROL", 0xA2, "Left Ctrl"},
    {"VK_RCONTROL", 0xA3, "Right Ctrl"},
    {"VK_BROWSER_BACK", 0xA6, "Web browser: back"},
    {"VK_BROWSER_FORWARD", 0xA7, "Web browser: forward"},
    {"VK_BROWSER_REFRESH", 0xA8, "Web browser: reload"},
    {"VK_BROWSER_STOP", 0xA9, "Web browser: stop loading"},
    {"VK_BROWSER_SEARCH", 0xAA, "Web browser: search"},
    {"VK_BROWSER_FAVORITES", 0xAB, "Web browser: bookmarks"},
    {"VK_BROWSER_HOME", 0xAC, "Web browser: home page"},
    {"VK_VOLUME_MUTE", 0xAD, "Volume: mute or unmute (key)"},
    {"VK_VOLUME_DOWN", 0xAE, "Volume down (key)"},
    {"VK_VOLUME_UP", 0xAF, "Volume up (key)"},
    {"VK_MEDIA_NEXT_TRACK", 0xB0, "Media: next track (key)"},
    {"VK_MEDIA_PREV_TRACK", 0xB1, "Media: previous track (key)"},
    {"VK_MEDIA_STOP", 0xB2, "Media: stop (key)"},
    {"VK_MEDIA_PLAY_PAUSE", 0xB3, "Media: play or pause (key)"},
    {"VK_LAUNCH_MAIL", 0xB4, "Start the mail program"},
    {"VK_LAUNCH_MEDIA_SELECT", 0xB5, "Start the media player"},
    {"VK_LAUNCH_APP1", 0xB6, "Start the file manager (My Computer key)"},
    {"VK_LAUNCH_APP2", 0xB7, "Start the calculator"},
    {"VK_OEM_1", 0xBA, "The ; : key of US keyboards"},
    {"VK_OEM_PLUS", 0xBB, "The key that types +, else the = + key of US keyboards"},
    {"VK_OEM_COMMA", 0xBC, "The key that types a comma"},
    {"VK_OEM_MINUS", 0xBD, "The key that types -"},
    {"VK_OEM_PERIOD", 0xBE, "The key that types a full stop"},
    {"VK_OEM_2", 0xBF, "The / ? key of US keyboards"},
    {"VK_OEM_3", 0xC0, "The ` ~ key of US keyboards"},
    {"VK_OEM_4", 0xDB, "The [ { key of US keyboards"},
    {"VK_OEM_5", 0xDC, "The \\ | key of US keyboards"},
    {"VK_OEM_6", 0xDD, "The ] } key of US keyboards"},
    {"VK_OEM_7", 0xDE, "The ' \" key of US keyboards"},
    {"VK_OEM_8", 0xDF, "OEM key 8: on no US key, sends nothing"},
    {"VK_OEM_102", 0xE2, "The extra key beside left Shift (< > on most keyboards)"},
}};

constexpr std::array<TFunctionEntry, 9> MouseRows = {{
    {"MOUSE_MOVE_X_NEG", 1, "Mouse: move the pointer left"},
    {"MOUSE_MOVE_X_POS", 2, "Mouse: move the pointer right"},
    {"MOUSE_MOVE_Y_NEG", 3, "Mouse: move the pointer up"},
    {"MOUSE_MOVE_Y_POS", 4, "Mouse: move the pointer down"},
    {"MOUSE_LEFT_CLICK", 5, "Left mouse button: click"},
    {"MOUSE_RIGHT_CLICK", 6, "Right mouse button: click"},
    {"MOUSE_MIDDLE_CLICK", 7, "Middle mouse button: click"},
    {"MOUSE_WHEEL_FORWARD", 8, "Mouse wheel: one step away from you (scroll up)"},
    {"MOUSE_WHEEL_BACK", 9, "Mouse wheel: one step toward you (scroll down)"},
}};

constexpr std::array<TFunctionEntry, 4> PowerRows = {{
    {"EWX_LOGOFF", 0, "Log out of the desktop session"},
    {"EWX_POWEROFF", 8, "Shut down the computer and switch it off"},
    {"EWX_SHUTDOWN", 1, "Shut down the computer"},
    {"EWX_REBOOT", 2, "Restart the computer"},
}};

} // namespace

std::span<const TFunctionEntry> AppCommands() {
    return AppCommandRows;
}
std::span<const TFunctionEntry> VirtualKeys() {
    return VirtualKeyRows;
}
std::span<const TFunctionEntry> MouseFunctions() {
    return MouseRows;
}
std::span<const TFunctionEntry> PowerActions() {
    return PowerRows;
}

namespace {

const TFunctionEntry* FindRow(std::string_view name, std::int32_t* kind = nullptr) {
    const struct {
        std::span<const TFunctionEntry> rows;
        std::int32_t kind;
    } groups[] = {{MouseRows, fkMouse},
                  {AppCommandRows, fkAppCommand},
                  {VirtualKeyRows, fkKey},
                  {PowerRows, fkPower}};
    for (const auto& group : groups)
        for (const auto& row : group.rows)
            if (row.Name == name) {
                if (kind)
                    *kind = group.kind;
                return &row;
            }
    return nullptr;
}

} // namespace

CatalogueMatch LookupFunction(std::string_view name) {
    std::int32_t kind = fkNone;
    const TFunctionEntry* row = FindRow(name, &kind);
    return row ? CatalogueMatch{row->Name, row->Code, kind} : CatalogueMatch{};
}

std::string_view FunctionDescription(std::string_view name) {
    const TFunctionEntry* row = FindRow(name);
    return row ? row->Description : std::string_view{};
}

void AssignFunction(TControlMapping& mapping, std::string_view name) {
    const CatalogueMatch match = LookupFunction(name);
    mapping.FunctionName.assign(match.Name);
    mapping.Code = match.Code;
    mapping.Kind = match.Kind;
}

std::string ControllerListText(const TJoystick& joystick) {
    return "Name: " + joystick.Name + " -- ID: " + std::to_string(joystick.JoystickID);
}

bool SameControllerName(std::string_view a, std::string_view b) {
    return TrimmedName(a, NameCapacity) == TrimmedName(b, NameCapacity);
}

} // namespace padwright
