#pragma once
// The program without its windows: the three lists, the engine and its reader, the controller
// access, the profile store and the settings, the log and the reading switch. Its operations are
// the program's commands, whoever gives them (a window's handler, the tray, a command from
// outside); views learn of what changed through ICoreView. No Qt: timers and waits go through the
// event loop the front-end hands in.
#include "core/ReaderClock.h"
#include "core/Settings.h"
#include "core/TrayView.h"
#include "engine/Engine.h"
#include "engine/Lists.h"
#include "engine/RestingReader.h"
#include "input/ControllerAccess.h"
#include "input/DiLog.h"
#include "platform/eventloop/EventLoop.h"
#include "store/MessageBoxes.h"
#include "store/ProfileStore.h"
#include "store/Registry.h"

#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace padwright {

// What the core tells the views that show it; each view overrides what it shows.
class ICoreView {
public:
    virtual ~ICoreView() = default;
    // The reading switch changed.
    virtual void ReadingChanged(bool /*on*/) {}
    // The controller lists' model (ControllerView) changed.
    virtual void ControllersChanged() {}
    // The active controllers' list lost its selection (Remove).
    virtual void ControllerSelectionCleared() {}
    // A DirectInput error could not be logged: logging is off now.
    virtual void LogSwitchedOff() {}
    // A run of the data-collection cycle ended.
    virtual void CycleRan() {}
    // A program rule or a command changed the profile a controller uses.
    virtual void ProfileFollowed(std::size_t /*controller*/) {}
};

struct CoreParts {
    IEventLoop& Loop;
    IInputInjector& Injector;
    ISessionControl& Session;
    // The warning and error boxes.
    IMessageBoxes& Boxes;
    Registry& Settings;
    // DirectInput8Create: the evdev entry for the program, a fixture one for tests. Empty
    // stands for a missing entry point: the controller list stays empty.
    DirectInputEntry DirectInput = {};
    // The joystick ID table that entry hands out from; null when it keeps none.
    std::shared_ptr<JoystickIdTable> JoystickIds = {};
    // The profile store, by bare name in the working directory unless a path is given.
    std::string StorePath = StoreFileName;
    // The application's top-level window that the controllers are opened for; 0: none.
    WindowHandle AppWindow = 0;
};

class Core final : public ISettingsHost, public IControllerHost {
public:
    static constexpr int TrayFrameMs = 1000;

    explicit Core(CoreParts parts);
    // The lists, rows' profiles and every controller's device first, then the DirectInput
    // object, then the timers and the engine.
    ~Core() override;
    Core(const Core&) = delete;
    Core& operator=(const Core&) = delete;

    // The injector, which views also ask what keys type.
    IInputInjector& Injector() { return parts_.Injector; }

    void Subscribe(ICoreView& view);
    void Unsubscribe(ICoreView& view);
    // The notification-area icon; null: none.
    void SetTrayView(ITrayView* tray) { tray_ = tray; }

    // Runs `operation` as every command runs: an error that ends it is shown in the standard
    // error box, and the program goes on. Returns whether it ran to its end.
    template <typename Operation> bool Run(Operation&& operation);
    void ShowError(const std::exception_ptr& error);

    // --- Start-up, in the order the program runs it ---
    // The profile store into Profiles.
    void LoadProfileStore();
    // Application settings into `fields`, the log and the remembered controllers; true when the
    // program is to start without showing its window.
    bool LoadApplicationSettings(ApplicationSettingsFields& fields);
    // Starts DirectInput and lists the controllers found; the remembered controllers keep their
    // joystick IDs.
    void StartDirectInput();

    // --- The reading switch (ReadingOn answers whether it is on) ---
    // "Start Reading Data" and "Stop Reading Data".
    void StartReading();
    void StopReading();
    // The pace of reading: on its timer while anything is engaged, asleep at rest.
    RestingReader& Reader() { return reader_; }

    // --- Controllers ---
    void AddController();    // the found controller selected
    void RemoveController(); // the active controller selected
    void RefreshControllers();
    // The kernel reported plugging; true when it is to be asked again shortly.
    bool FollowPlugging(bool lastTry);
    // The active controller selected, or null.
    TJoystick* SelectedController();
    // Gives active controller `controller` profile `profile` (0-based; -1: none) as the user's
    // own choice. Reading pauses for the change and resumes once both are there; choosing
    // nothing leaves it paused. Choosing the profile in effect changes nothing, so a profile a
    // rule set becomes no choice of the user's by being shown.
    void ChooseProfile(int controller, int profile);
    // Puts active controller `controller` on profile `number` (1-based) in place of its own
    // choice, for a program rule or a command; 0 puts it back on its own choice. Neither is
    // saved, and reading stays on or off as it is.
    void FollowProfile(std::size_t controller, std::int32_t number);

    // --- Profiles (by 0-based index) ---
    // Deletes profile `index`: what controllers on it hold is released, reading pauses and
    // resumes while any profile is left.
    void DeleteProfile(std::size_t index);
    // A mapping was edited, or anything else that matters to the readings changed.
    void MappingsChanged();

    // --- Settings ---
    void ApplyJoystickSettings(JoystickSettingsFields& fields);
    void ResetJoystickSettings(JoystickSettingsFields& fields);
    void ApplyApplicationSettings(ApplicationSettingsFields& fields);
    void ResetApplicationSettings(ApplicationSettingsFields& fields);
    // Saves, and remembers what was saved as what Exit compares against.
    void Save(bool startMinimized);
    // What Save would write now becomes what counts as saved: at the end of start-up.
    void RememberSaved(bool startMinimized);
    // Whether Save would write anything other than what was last saved or loaded.
    bool ChangedSinceSaved(bool startMinimized);

    // Exit's shut-down: every controller released while the engine can still send, the tray icon
    // removed, then the log closed (a failure to close it goes to standard error).
    void ShutDown();

    // --- The timers, named as the design names them ---
    void tmrDataCollectTimer();
    void tmrAutoRepeatTimer();
    void tmrSTrayTimer();
    int TrayFrame = 0;

    // --- IEngineHost, ISettingsHost, IControllerHost ---
    void PauseReading() override;
    void ResumeReading() override;
    void TrayAnimationStep() override;
    void LogDirectInputError(std::string_view prefix, HRESULT code) override;
    bool ReadingOn() const override { return reader_.On(); }
    std::uint32_t TimeInterval() const override;
    void SetTimeInterval(std::uint32_t milliseconds) override;
    void ViewChanged() override;
    void SelectionCleared() override;
    void ReleaseHeld(TJoystick& controller) override { engine_.ReleaseHeld(controller); }

private:
    SettingsContext Context();
    // The one way a controller changes profile: what its old profile's mappings hold is
    // released, nothing is pressed.
    void SwitchProfile(TJoystick& joystick, std::int32_t own, std::int32_t followed);
    // After a change that matters to the readings made while the reader slept: a run of the
    // cycle at once instead of waiting for input. Pausing to make the change may have ended the
    // sleep already, so the caller says whether it slept before.
    void ReadAtOnce(bool slept);
    template <typename Change> void Tell(Change&& change);

    CoreParts parts_;

public:
    TLists Lists;
    DiLog Log;
    Registry& Settings;
    ProfileStore Store;
    ControllerAccess Controllers;
    std::unique_ptr<ITimer> tmrDataCollect;
    std::unique_ptr<ITimer> tmrAutoRepeat;
    std::unique_ptr<ITimer> tmrSTray;

private:
    Engine engine_;
    ReaderClock clock_;
    RestingReader reader_;
    std::vector<ICoreView*> views_;
    ITrayView* tray_ = nullptr;
    bool collecting_ = false;
    std::size_t savedDigest_ = 0;
};

template <typename Operation> bool Core::Run(Operation&& operation) {
    try {
        std::forward<Operation>(operation)();
        return true;
    } catch (...) {
        ShowError(std::current_exception());
        return false;
    }
}

// The text the standard error box shows for what a command threw.
std::string HandlerErrorText(const std::exception_ptr& error);

} // namespace padwright
