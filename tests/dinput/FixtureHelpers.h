#pragma once
// Shared by the controller tests: fixture devices and an open, acquired device over them.
#include "platform/dinput/EvemuParser.h"
#include "platform/dinput/FixtureKernel.h"

#include <cctype>
#include <memory>
#include <string>

namespace padwright::testing {

inline EvemuDevice Fixture(const std::string& name) {
    return LoadEvemuFile(std::string(PADWRIGHT_DEVICES_DIR) + "/" + name);
}

// A test name from a fixture's file name: "usb-gamepad-0079-0011.evemu" -> usb_gamepad_0079_0011.
inline std::string FixtureTestName(std::string file) {
    file = file.substr(0, file.find('.'));
    for (char& ch : file)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return file;
}

inline int AddFixture(FixtureKernel& kernel, const std::string& name, bool withEvents = false) {
    EvemuDevice device = Fixture(name);
    return kernel.Add(device.description, withEvents ? device.events : std::vector<EvdevEvent>{});
}

} // namespace padwright::testing
