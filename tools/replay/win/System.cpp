#include "System.h"

#include "platform/inject/win/WinInjector.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace padwright::replay {

void UseBinaryStreams() {
    for (FILE* stream : {stdin, stdout, stderr})
        _setmode(_fileno(stream), _O_BINARY);
}

namespace {

// Application commands go to a window of the program's own, as the program's go to its main
// window: a hidden top-level one, whose default handling passes them on to the shell.
class WindowedInjector final : public IInputInjector {
public:
    WindowedInjector() {
        WNDCLASSA type{};
        type.lpfnWndProc = DefWindowProcA;
        type.hInstance = GetModuleHandleA(nullptr);
        type.lpszClassName = "PadwrightReplay";
        RegisterClassA(&type);
        window_ = CreateWindowA(type.lpszClassName, "padwright-replay", WS_OVERLAPPED, 0, 0, 0, 0,
                                nullptr, nullptr, type.hInstance, nullptr);
        injector_.SetWindow(reinterpret_cast<std::uintptr_t>(window_));
    }
    ~WindowedInjector() override { DestroyWindow(window_); }
    WindowedInjector(const WindowedInjector&) = delete;
    WindowedInjector& operator=(const WindowedInjector&) = delete;

    std::uint32_t MapVirtualKeyA(std::uint32_t code, std::uint32_t mapType) override {
        return injector_.MapVirtualKeyA(code, mapType);
    }
    void keybd_event(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags,
                     std::uintptr_t extraInfo) override {
        injector_.keybd_event(vk, scan, flags, extraInfo);
    }
    void mouse_event(std::uint32_t flags, std::int32_t dx, std::int32_t dy, std::int32_t data,
                     std::uintptr_t extraInfo) override {
        injector_.mouse_event(flags, dx, dy, data, extraInfo);
    }
    void SendAppCommand(std::uint32_t lParam) override { injector_.SendAppCommand(lParam); }

private:
    HWND window_ = nullptr;
    WinInjector injector_;
};

} // namespace

// The desktop's own input stream: every program receives what is sent.
InjectorChoice SystemInjector() {
    InjectorChoice choice;
    choice.injector = std::make_unique<WindowedInjector>();
    choice.status.level = InjectionLevel::Full;
    choice.status.backend = "keybd_event";
    return choice;
}

} // namespace padwright::replay
