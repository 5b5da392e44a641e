#pragma once
// The controller widgets of the main window as plain data: the two controller lists with their
// selection, and the enabled state of the buttons beside them. The controller handlers work on
// this model only, so they run without widgets; the window binds it to the real ones.
//
// Binding, for the window:
// - user picks item k of a list   -> set that list's ItemIndex = k, then call its click handler
//   (ControllerAccess::cmbFoundDevicesClick; the window's own cmbDevicesClick for cmbDevices);
// - user clicks Refresh / Add / Remove -> call cmdRefreshClick / cmdAddDeviceClick /
//   cmdRemoveDeviceClick;
// - after every handler call (ControllerAccess::ViewChanged is run at its end) copy Items,
//   ItemIndex and the three Enabled flags back onto the widgets.
// Items are the exact texts to show; item k of cmbFoundDevices is FoundJoysticks[k] and item k
// of cmbDevices is ActiveJoysticks[k].
#include <string>
#include <vector>

namespace padwright {

struct ListBoxModel {
    std::vector<std::string> Items;
    int ItemIndex = -1; // the selected item, -1 for none

    bool HasSelection() const {
        return ItemIndex >= 0 && ItemIndex < static_cast<int>(Items.size());
    }
    void Clear() {
        Items.clear();
        ItemIndex = -1;
    }
    void Add(std::string text) { Items.push_back(std::move(text)); }
};

struct ButtonModel {
    bool Enabled = false;
};

struct ControllerView {
    ListBoxModel cmbFoundDevices; // "Controllers Found:"
    ListBoxModel cmbDevices;      // "Active Controllers:"
    ButtonModel cmdRefresh{true}; // "Refresh"
    ButtonModel cmdAddDevice;     // "Add", disabled until a found controller is picked
    ButtonModel cmdRemoveDevice;  // "Remove", enabled by the window's cmbDevicesClick
};

} // namespace padwright
