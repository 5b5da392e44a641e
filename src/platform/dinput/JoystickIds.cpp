#include "platform/dinput/JoystickIds.h"

#include "platform/Utf8Fit.h"

#include <algorithm>

namespace padwright {

JoystickIdTable::Entry* JoystickIdTable::FindGuid(const GUID& guid) {
    for (Entry& e : entries_)
        if (e.guid == guid)
            return &e;
    return nullptr;
}

bool JoystickIdTable::Holds(DWORD id) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [id](const Entry& e) { return e.id == id; });
}

void JoystickIdTable::Remember(const GUID& guid, DWORD id, std::string_view name) {
    if (FindGuid(guid) != nullptr || Holds(id))
        return;
    entries_.push_back({guid, id, TrimmedName(name, NameBytes), true});
}

DWORD JoystickIdTable::IdFor(const GUID& guid, std::string_view name,
                             const std::vector<GUID>& present) {
    if (const Entry* known = FindGuid(guid))
        return known->id;
    const std::string trimmed = TrimmedName(name, NameBytes);
    for (Entry& e : entries_) {
        if (!e.remembered || e.name != trimmed ||
            std::find(present.begin(), present.end(), e.guid) != present.end())
            continue;
        // The ID moves with the controller; its old GUID, should it come back, is a stranger.
        e.guid = guid;
        return e.id;
    }
    DWORD id = 0;
    while (Holds(id))
        ++id;
    entries_.push_back({guid, id, trimmed, false});
    return id;
}

} // namespace padwright
