#include "app/win/WinProgram.h"

#include "app/win/InstanceWindow.h"
#include "core/GuidRefresh.h"
#include "core/InstanceCommands.h"
#include "platform/dinput/EvemuParser.h"
#include "platform/dinput/FixtureKernel.h"
#include "platform/dinput/win/WinDirectInput.h"
#include "platform/focus/win/WinForegroundSource.h"
#include "platform/session/win/WinSession.h"
#include "ui/win/WinUserDialogs.h"

namespace padwright::win {

WinProgram::WinProgram(Parts parts) : parts_(std::move(parts)) {
    CreateApplicationWindow();
    session_ = std::make_unique<WinSession>();
    settings_ = std::make_unique<Registry>();
    CoreParts core{loop_, injector_, *session_, late_, *settings_};
    core.DirectInput = DirectInput();
    core.AppWindow = reinterpret_cast<WindowHandle>(application_);
    core_ = std::make_unique<Core>(std::move(core));
    follower_ = std::make_unique<ProgramFollower>(*core_);
    foreground_ = std::make_unique<WinForegroundSource>();

    frmMain_ = std::make_unique<MainWindow>(*core_, late_);
    HWND main = frmMain_->Handle();
    injector_.SetWindow(reinterpret_cast<std::uintptr_t>(main));
    dialogs_ =
        std::make_unique<WinUserDialogs>(main, injector_, *core_, *follower_, foreground_.get());
    late_.Attach(dialogs_.get());
    frmMain_->ShowPrograms = [this](int profile) { late_.ShowPrograms(profile); };
    loop_.SetMessageFilter([this](MSG& message) { return frmMain_->PreTranslate(message); });

    tray_ = std::make_unique<WinTrayIcon>(main, MainWindow::WM_TRAYICON);
    core_->SetTrayView(tray_.get());
    Core* c = core_.get();
    tray_->StartReading = [c] { c->Run([c] { c->StartReading(); }); };
    tray_->StopReading = [c] { c->Run([c] { c->StopReading(); }); };
    MainWindow* w = frmMain_.get();
    tray_->Exit = [w] { w->RunHandler([w] { w->cmdExitClick(); }); };
    frmMain_->TrayMessage = [this](LPARAM mouse) { tray_->TrayIconMessage(mouse); };
    frmMain_->HideWhenMinimized = [this] { return tray_->IsAdded(); };

    // Before the first enumeration, so that nothing plugged in meanwhile goes unnoticed.
    FollowPlugging();
    FormCreate();
    FollowPrograms();
}

void WinProgram::CreateApplicationWindow() {
    WNDCLASSW application{};
    application.lpfnWndProc = &WinProgram::ApplicationProc;
    application.hInstance = GetModuleHandleW(nullptr);
    application.hIcon = LoadIconW(application.hInstance, MAKEINTRESOURCEW(1));
    application.lpszClassName = ApplicationWindowClass;
    RegisterClassW(&application);
    application_ = CreateWindowExW(WS_EX_TOOLWINDOW, ApplicationWindowClass, L"Padwright", WS_POPUP,
                                   0, 0, 0, 0, nullptr, nullptr, application.hInstance, nullptr);
    SetWindowLongPtrW(application_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
}

LRESULT CALLBACK WinProgram::ApplicationProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    auto* self = reinterpret_cast<WinProgram*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && self->core_) {
        if (message == WM_COPYDATA)
            return ServeRequest(wParam, lParam, [self](const InstanceRequest& request) {
                return self->Answer(request);
            });
        // The shell started again (Explorer restarted): the icon is gone from it.
        if (message == self->taskbarCreated_ && self->tray_ && self->tray_->IsAdded()) {
            self->tray_->Remove();
            self->tray_->Add();
            return 0;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

InstanceAnswer WinProgram::Answer(const InstanceRequest& request) {
    const auto& front = follower_->InFront();
    return AnswerRequest(*core_, request, front ? ProgramName(*front) : std::string(),
                         [this] { tray_->popItemShowClick(); });
}

DirectInputEntry WinProgram::DirectInput() {
    if (parts_.FixturePad.empty())
        return DirectInput8Create;
    auto kernel = std::make_shared<FixtureKernel>();
    auto ids = std::make_shared<JoystickIdTable>();
    EvemuDevice pad = LoadEvemuFile(parts_.FixturePad);
    kernel->Add(std::move(pad.description), std::move(pad.events));
    return [kernel, ids](std::shared_ptr<IDirectInput8>& out) {
        out = CreateFixtureDirectInput(kernel, ids);
        return DI_OK;
    };
}

void WinProgram::FollowPlugging() {
    if (!parts_.FixturePad.empty())
        return; // the stand-in pad stays plugged in
    std::unique_ptr<IPlugMonitor> monitor = OpenPlugMonitor();
    if (!monitor)
        return;
    plugs_ = padwright::FollowPlugging(*core_, loop_, std::move(monitor));
}

void WinProgram::FollowPrograms() {
    if (!foreground_->Available())
        return;
    ProgramFollower* follower = follower_.get();
    Core* core = core_.get();
    foreground_->Watch([core, follower](const ForegroundProgram& program) {
        core->Run([&] { follower->ProgramInFront(program); });
    });
    follower_->ProgramInFront(foreground_->Current());
}

void WinProgram::FormCreate() {
    MainWindow& w = *frmMain_;
    // A step that fails is reported and start-up goes on, so that one unreadable file costs
    // only what it holds.
    w.RunHandler([&] { w.LoadProfileStore(); });
    w.RunHandler([&] { startMinimized_ = w.LoadApplicationSettings(); });
    w.RunHandler([&] { w.StartDirectInput(); });
    w.RunHandler([&] { RefreshActiveGuids(core_->Lists); });
    w.RunHandler([&] { core_->StartReading(); });
    core_->TrayFrame = 1;
    tray_->Add();
    // What start-up read, GUIDs refreshed, is what Exit compares with until the next Save.
    w.RememberSavedState();
}

void WinProgram::ShowMainWindow() {
    if (startMinimized_)
        return;
    ShowWindow(frmMain_->Handle(), SW_SHOW);
    UpdateWindow(frmMain_->Handle());
}

WinProgram::~WinProgram() {
    // No command and no word of the program in front comes in while the run ends.
    SetWindowLongPtrW(application_, GWLP_USERDATA, 0);
    foreground_->Watch({});
    plugs_.reset();
    loop_.SetMessageFilter({});
    core_->ShutDown();
    core_->SetTrayView(nullptr);
    tray_.reset();
    late_.Attach(nullptr);
    dialogs_.reset();
    frmMain_.reset(); // the window, whose rows point into Profiles
    core_.reset();    // the lists, the controllers' devices, the timers and the engine
    DestroyWindow(application_);
}

} // namespace padwright::win
