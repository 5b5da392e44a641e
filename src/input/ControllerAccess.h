#pragma once
// Controller access: the DirectInput object, discovery of the attached controllers into
// FoundJoysticks, and the active controllers (add, open, enumerate their objects, remove, start
// and stop reading). Every DirectInput failure becomes one log line through the host and the
// operation goes on; no message is shown.
#include "engine/EngineHost.h"
#include "engine/Lists.h"
#include "input/ControllerView.h"
#include "platform/dinput/DirectInput.h"
#include "platform/dinput/JoystickIds.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace padwright {

// The DirectInput8Create entry point: the evdev one for the program, a fixture one for tests
// and the probe. An empty function stands for a missing entry point.
using DirectInputEntry = std::function<HRESULT(std::shared_ptr<IDirectInput8>&)>;

// What the controller access needs of the program around it beyond the engine's host.
class IControllerHost : public virtual IEngineHost {
public:
    // The lists' model (View) changed, at the end of every handler that changed it. Nothing to
    // do for a host that shows no list (the probe).
    virtual void ViewChanged() {}
    // Remove left no active controller selected: the selection's handler runs with none.
    virtual void SelectionCleared() {}
    // Lets go of whatever a controller's mappings hold down (the engine's ReleaseHeld).
    // CloseController runs it: nothing would read that controller again to release a key held
    // at that moment. A host without an engine holds nothing.
    virtual void ReleaseHeld(TJoystick& /*controller*/) {}
};

class ControllerAccess {
public:
    // `appWindow` is handed to SetCooperativeLevel; the lists and host outlive this object.
    ControllerAccess(TLists& lists, IControllerHost& host, DirectInputEntry entry,
                     WindowHandle appWindow = 0);

    // The widgets' model (see ControllerView.h).
    ControllerView View;

    // --- Discovery ---
    // Replaces the DirectInput object and appends every attached controller to FoundJoysticks
    // and cmbFoundDevices (the caller empties them first when they may hold entries).
    void StartDirectInput();
    // EnumDevices callback: lists one controller; always DIENUM_CONTINUE.
    int FoundControllerCallback(const DIDEVICEINSTANCEA& device);
    void cmdRefreshClick();
    void cmbFoundDevicesClick();

    // --- Active controllers ---
    // Adds the found controller selected in cmbFoundDevices, unless it is already active or
    // the list holds MaxJoysticks; opens it; lists it whether or not it opened.
    void cmdAddDeviceClick();
    // Removes the controller selected in cmbDevices; leaves nothing selected.
    void cmdRemoveDeviceClick();
    // Opens every active controller that is not open, then switches reading on.
    void popItemStartClick();
    // The opening part of Start: every active controller that is not open, with at most one
    // rescan for all of them.
    void OpenClosedControllers();
    // Switches reading off, then closes every open controller (devices stay created).
    void popItemStopClick();
    // Stops reading one controller: lets go of what its mappings hold, then unacquires it (its
    // device stays created). Stop, Remove and exit all close controllers through here.
    void CloseController(TJoystick& controller);

    enum class OpenVariant { Add, Start };
    // Creates, sets up, acquires and enumerates controller `index` of ActiveJoysticks. Add has
    // zeroed the object counts before; Start zeroes them only once acquisition succeeded, so a
    // controller that fails to reopen keeps what it showed. True when it is open. A controller
    // that cannot be created is tried once more after a rescan.
    bool OpenController(std::int32_t index, OpenVariant variant);
    // EnumObjects callback for `controller`: range and dead zone on axes, then counts and names
    // by object type.
    int ControllerObjectCallback(const DIDEVICEOBJECTINSTANCEA& object, TJoystick& controller);
    // The axis property step alone, for new controller settings on an open controller.
    int AxisPropertyCallback(const DIDEVICEOBJECTINSTANCEA& object, const TJoystick& controller);
    // Runs the axis property step over the axes of open controller `index`.
    void ApplyAxisProperties(std::int32_t index);

    // --- Plugging ---
    // The data-collection cycle switched reading off because it could read no controller.
    void NothingReadPaused() { nothingRead_ = true; }
    enum class PlugResult { Done, TryAgain };
    // Run after the kernel reported plugging: refreshes the found list when the set of
    // controllers changed, keeping the selection on the same controller, and reopens the active
    // controllers that came back, resuming reading when it stopped for lack of them. TryAgain
    // while a new controller's node is denied (udev may not have opened it up yet) and this is
    // not the last try; nothing is changed or logged then.
    PlugResult FollowPlugging(bool lastTry);

    // The current DirectInput object; null before the first start and after a failed one.
    const std::shared_ptr<IDirectInput8>& DirectInput() const { return directInput_; }
    // The names of the game controllers the last enumeration found but could not open for lack
    // of permission, in enumeration order.
    const std::vector<std::string>& DeniedNames() const { return deniedNames_; }
    // Releases the DirectInput object (at exit, after the controller lists).
    void ReleaseDirectInput() { directInput_.reset(); }

    // The process's joystick ID table, which the DirectInput entry hands to every object it
    // creates; null when the entry keeps none (tests, the probe).
    std::shared_ptr<JoystickIdTable> JoystickIds;
    // Start-up, once the remembered controllers are read and before discovery: their IDs
    // stay theirs.
    void RememberJoystickIds();

private:
    bool OpenController(std::int32_t index, OpenVariant variant, bool& mayRescan);
    HRESULT CreateController(TJoystick& controller);
    // Lets the DirectInput object see where the controllers are now; the found list stays.
    void RescanControllers();
    void SetAxisProperties(const TJoystick& controller, const DIDEVICEOBJECTINSTANCEA& object);
    void Changed();
    // One enumeration through a fresh DirectInput object, every controller created once: what
    // following plugging compares with the found list, and what a refresh then lists.
    struct Survey {
        HRESULT started = DI_OK;
        std::shared_ptr<IDirectInput8> directInput; // null when it did not start
        struct Seen {
            DIDEVICEINSTANCEA device;
            HRESULT created;
            std::shared_ptr<IDirectInputDevice8> temporary;
        };
        std::vector<Seen> seen; // in enumeration order
        std::vector<GUID> Openable() const;
        std::vector<GUID> Denied() const;
    };
    // Nothing is listed or logged.
    Survey SurveyControllers();
    // Takes the survey's object as the DirectInput object and lists what it saw, as
    // StartDirectInput does.
    void StartFrom(Survey& survey);
    void ListFound(const DIDEVICEINSTANCEA& device, HRESULT created,
                   const std::shared_ptr<IDirectInputDevice8>& temporary);
    void Refresh(Survey* survey);
    void RefreshKeepingSelection(Survey& survey);
    void ReopenReturned(const std::vector<GUID>& present);

    TLists& lists_;
    IControllerHost& host_;
    DirectInputEntry entry_;
    WindowHandle appWindow_;
    std::shared_ptr<IDirectInput8> directInput_;
    // Controllers the last enumeration could not open for lack of permission (and logged).
    std::vector<GUID> deniedListed_;
    std::vector<std::string> deniedNames_;
    bool userStopped_ = false; // "Stop Reading Data" was the last word
    bool nothingRead_ = false;
};

} // namespace padwright
