#pragma once
// Joystick IDs that belong to controllers, not to the order in which their nodes were found:
// one table for the whole process, outliving every DirectInput object, so that a controller
// keeps its ID when another one is unplugged or found first, is never listed under two IDs, and
// two identical pads keep their own settings.
#include "platform/dinput/DirectInput.h"

#include <string>
#include <string_view>
#include <vector>

namespace padwright {

class JoystickIdTable {
public:
    // Names are compared as the settings keep them: trimmed and cut to this many bytes.
    static constexpr std::size_t NameBytes = 255;

    // Start-up: a remembered controller's pair. A pair whose GUID or ID the table already
    // holds is ignored, so a damaged list cannot give one ID to two controllers.
    void Remember(const GUID& guid, DWORD id, std::string_view name);

    // The ID of controller `guid` named `name`; `present` holds the GUIDs of every controller
    // attached now. A GUID seen for the first time takes the ID of a remembered controller of
    // the same name that is not attached (a pad without a serial that moved to another port
    // has a new GUID), otherwise the lowest ID that no GUID holds.
    DWORD IdFor(const GUID& guid, std::string_view name, const std::vector<GUID>& present);

private:
    struct Entry {
        GUID guid;
        DWORD id;
        std::string name;
        bool remembered;
    };
    Entry* FindGuid(const GUID& guid);
    bool Holds(DWORD id) const;

    std::vector<Entry> entries_;
};

} // namespace padwright
