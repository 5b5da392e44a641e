#pragma once
// Shared by the controller tests: fixture devices and an open, acquired device over them.
#include "platform/dinput/EvemuParser.h"
#include "platform/dinput/FixtureKernel.h"

#include <memory>
#include <string>

namespace padwright::testing {

inline EvemuDevice Fixture(const std::string& name) {
    return LoadEvemuFile(std::string(PADWRIGHT_DEVICES_DIR) + "/" + name);
}

inline int AddFixture(FixtureKernel& kernel, const std::string& name, bool withEvents = false) {
    EvemuDevice device = Fixture(name);
    return kernel.Add(device.description, withEvents ? device.events : std::vector<EvdevEvent>{});
}

} // namespace padwright::testing
