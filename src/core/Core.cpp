#include "core/Core.h"

#include "core/SaveDigest.h"

#include "core/SaveHandler.h"
#include "store/ProfileOperations.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <new>

namespace padwright {

namespace {

constexpr int DefaultTimeInterval = 5;

} // namespace

std::string HandlerErrorText(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        return "Out of memory";
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown error";
    }
}

Core::Core(CoreParts parts)
    : parts_(std::move(parts)), Settings(parts_.Settings), Store(parts_.Boxes, parts_.StorePath),
      Controllers(Lists, *this, std::move(parts_.DirectInput), parts_.AppWindow),
      // Timers fire from every event loop, the nested ones of modal dialogs and menus included,
      // so reading goes on while the user edits.
      tmrDataCollect(parts_.Loop.CreateTimer(DefaultTimeInterval, TimerMode::Precise,
                                             [this] { tmrDataCollectTimer(); })),
      tmrAutoRepeat(parts_.Loop.CreateTimer(AutoRepeatInterval, TimerMode::Precise,
                                            [this] { Run([this] { tmrAutoRepeatTimer(); }); })),
      tmrSTray(parts_.Loop.CreateTimer(TrayFrameMs, TimerMode::Coarse,
                                       [this] { Run([this] { tmrSTrayTimer(); }); })),
      engine_(Lists, parts_.Injector, parts_.Session, *this),
      clock_(
          parts_.Loop, *tmrDataCollect, *tmrAutoRepeat,
          [this] {
              Run([this] {
                  if (reader_.Wake())
                      tmrDataCollectTimer();
              });
          },
          [this] { tmrDataCollectTimer(); }),
      reader_(Lists, engine_, clock_) {
    Controllers.JoystickIds = std::move(parts_.JoystickIds);
    tmrAutoRepeat->Start();
    tmrSTray->Start();
}

Core::~Core() {
    Lists.Profiles.clear();
    Lists.ActiveJoysticks.clear(); // releases every controller's device
    Lists.FoundJoysticks.clear();
    Controllers.ReleaseDirectInput();
}

void Core::Subscribe(ICoreView& view) {
    views_.push_back(&view);
}

void Core::Unsubscribe(ICoreView& view) {
    std::erase(views_, &view);
}

template <typename Change> void Core::Tell(Change&& change) {
    // A view may unsubscribe while it is told.
    const std::vector<ICoreView*> views = views_;
    for (ICoreView* view : views)
        change(*view);
}

void Core::ShowError(const std::exception_ptr& error) {
    parts_.Boxes.Error(HandlerErrorText(error));
}

SettingsContext Core::Context() {
    return SettingsContext{Settings, Lists, Log, *this, parts_.Boxes, Controllers};
}

// ---- Start-up ----

void Core::LoadProfileStore() {
    Store.Load(Lists.Profiles);
}

bool Core::LoadApplicationSettings(ApplicationSettingsFields& fields) {
    SettingsContext context = Context();
    return LoadSettings(context, fields);
}

void Core::StartDirectInput() {
    Controllers.RememberJoystickIds();
    Controllers.StartDirectInput();
}

// ---- The reading switch and the timers ----

void Core::ReadAtOnce(bool slept) {
    if (!slept || !ReadingOn())
        return;
    reader_.Wake();
    tmrDataCollectTimer();
}

void Core::PauseReading() {
    reader_.Pause();
    Tell([](ICoreView& view) { view.ReadingChanged(false); });
    TrayFrame = 0;
    if (tray_) {
        tray_->ShowReadingState(false);
        tray_->ShowStillIcon();
    }
}

void Core::ResumeReading() {
    if (tray_)
        tray_->ShowReadingState(true);
    Tell([](ICoreView& view) { view.ReadingChanged(true); });
    reader_.Resume();
}

void Core::TrayAnimationStep() {
    if (tmrSTray->IsActive())
        return;
    if (tray_)
        tray_->ShowFrame(TrayFrame);
    TrayFrame = (TrayFrame + 1) % 4;
    tmrSTray->Start();
}

void Core::LogDirectInputError(std::string_view prefix, HRESULT code) {
    try {
        Log.LogDirectInputError(prefix, code);
    } catch (...) {
        // The failed line switched logging off; a switch still shown on would have the next
        // Apply reopen and empty the log, and Save store the switch off while it shows on.
        Tell([](ICoreView& view) { view.LogSwitchedOff(); });
        throw;
    }
}

std::uint32_t Core::TimeInterval() const {
    return static_cast<std::uint32_t>(tmrDataCollect->Interval());
}

void Core::SetTimeInterval(std::uint32_t milliseconds) {
    tmrDataCollect->SetInterval(static_cast<int>(milliseconds));
}

void Core::tmrDataCollectTimer() {
    // An error box raised by a run keeps the timers firing; a second run must not start inside
    // the first one's box and stack up boxes. So the box is shown here, inside the guard, not
    // by the caller after it.
    if (collecting_)
        return;
    collecting_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{collecting_};
    const bool wasReading = ReadingOn();
    Run([this] { reader_.Run(); });
    // A controller that comes back may resume reading then, but never after the user's Stop.
    if (wasReading && !ReadingOn())
        Controllers.NothingReadPaused();
    Tell([](ICoreView& view) { view.CycleRan(); });
}

void Core::tmrAutoRepeatTimer() {
    engine_.tmrAutoRepeatTimer();
}

void Core::tmrSTrayTimer() {
    tmrSTray->Stop();
    // No cycle runs while the reader sleeps: the animation goes on by itself, once a second,
    // and only where there is an icon to animate.
    if (reader_.Asleep() && tray_ && tray_->IconShown())
        TrayAnimationStep();
}

void Core::StartReading() {
    const bool slept = reader_.Asleep();
    struct Sync {
        Core& core;
        ~Sync() { core.ViewChanged(); }
    } sync{*this};
    Controllers.popItemStartClick();
    ReadAtOnce(slept);
}

void Core::StopReading() {
    struct Sync {
        Core& core;
        ~Sync() { core.ViewChanged(); }
    } sync{*this};
    Controllers.popItemStopClick();
}

// ---- Controllers ----

void Core::ViewChanged() {
    Tell([](ICoreView& view) { view.ControllersChanged(); });
}

void Core::SelectionCleared() {
    Tell([](ICoreView& view) { view.ControllerSelectionCleared(); });
}

void Core::AddController() {
    const bool slept = reader_.Asleep();
    Controllers.cmdAddDeviceClick();
    ReadAtOnce(slept);
}

void Core::RemoveController() {
    const bool slept = reader_.Asleep();
    Controllers.cmdRemoveDeviceClick();
    ReadAtOnce(slept);
}

void Core::RefreshControllers() {
    Controllers.cmdRefreshClick();
}

bool Core::FollowPlugging(bool lastTry) {
    const bool slept = reader_.Asleep();
    const bool again =
        Controllers.FollowPlugging(lastTry) == ControllerAccess::PlugResult::TryAgain;
    // A controller opened again is waited on from the run this starts.
    ReadAtOnce(slept);
    return again;
}

TJoystick* Core::SelectedController() {
    const int i = Controllers.View.cmbDevices.ItemIndex;
    if (i < 0 || i >= Lists.ActiveJoysticks.count())
        return nullptr;
    return &Lists.ActiveJoysticks[static_cast<std::size_t>(i)];
}

void Core::ChooseProfile(int controller, int profile) {
    const bool slept = reader_.Asleep();
    PauseReading();
    if (controller < 0 || controller >= Lists.ActiveJoysticks.count() || profile < 0 ||
        profile >= Lists.Profiles.count())
        return;
    TJoystick& joystick = Lists.ActiveJoysticks[static_cast<std::size_t>(controller)];
    const std::int32_t chosen = profile + 1;
    if (joystick.ProfileInEffect() != chosen)
        SwitchProfile(joystick, chosen, 0);
    ResumeReading();
    ReadAtOnce(slept);
}

void Core::FollowProfile(std::size_t controller, std::int32_t number) {
    TJoystick& joystick = Lists.ActiveJoysticks[controller];
    const std::int32_t followed = number == joystick.Profile ? 0 : number;
    if (followed == joystick.FollowedProfile)
        return;
    const bool slept = reader_.Asleep();
    SwitchProfile(joystick, joystick.Profile, followed);
    Tell([controller](ICoreView& view) { view.ProfileFollowed(controller); });
    ReadAtOnce(slept);
}

void Core::SwitchProfile(TJoystick& joystick, std::int32_t own, std::int32_t followed) {
    // Its old profile's mappings are not evaluated for it any more. Staying on the same profile
    // releases nothing: a control still held would be pressed again.
    const std::int32_t before = joystick.ProfileInEffect();
    if ((followed != 0 ? followed : own) != before)
        engine_.ReleaseHeld(joystick);
    joystick.Profile = own;
    joystick.FollowedProfile = followed;
}

// ---- Profiles ----

void Core::DeleteProfile(std::size_t index) {
    PauseReading();
    for (TJoystick& joystick : Lists.ActiveJoysticks)
        if (joystick.ProfileInEffect() == static_cast<std::int32_t>(index) + 1)
            engine_.ReleaseHeld(joystick);
    padwright::DeleteProfile(Lists, index);
}

void Core::MappingsChanged() {
    ReadAtOnce(reader_.Asleep());
}

// ---- Settings ----

void Core::ApplyJoystickSettings(JoystickSettingsFields& fields) {
    SettingsContext context = Context();
    const bool slept = reader_.Asleep();
    cmdJSApplyClick(context, fields);
    ReadAtOnce(slept);
}

void Core::ResetJoystickSettings(JoystickSettingsFields& fields) {
    SettingsContext context = Context();
    cmdJSResetClick(context, fields);
}

void Core::ApplyApplicationSettings(ApplicationSettingsFields& fields) {
    SettingsContext context = Context();
    cmdASApplyClick(context, fields);
}

void Core::ResetApplicationSettings(ApplicationSettingsFields& fields) {
    SettingsContext context = Context();
    cmdASResetClick(context, fields);
}

void Core::Save(bool startMinimized) {
    SettingsContext context = Context();
    cmdSaveClick(context, Store, startMinimized);
    savedDigest_ = SaveDigest(context, startMinimized);
}

void Core::RememberSaved(bool startMinimized) {
    SettingsContext context = Context();
    savedDigest_ = SaveDigest(context, startMinimized);
}

bool Core::ChangedSinceSaved(bool startMinimized) {
    SettingsContext context = Context();
    return SaveDigest(context, startMinimized) != savedDigest_;
}

// ---- Exit ----

void Core::ShutDown() {
    // Released here, while the engine can still send: under XTest the X server would keep
    // whatever is down after the program is gone.
    for (TJoystick& joystick : Lists.ActiveJoysticks)
        if (joystick.Acquired)
            Controllers.CloseController(joystick);
    if (tray_ != nullptr)
        tray_->Remove();
    try {
        Log.Close();
    } catch (const std::exception& e) {
        // Nobody is left to show a box to; the lines that did reach the disk stay.
        std::fprintf(stderr, "Padwright: %s\n", e.what());
    }
}

} // namespace padwright
