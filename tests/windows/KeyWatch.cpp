// padwright-keywatch [COUNT [SECONDS]]: prints each key the desktop receives as a low-level
// keyboard hook sees it ("key down vk=0x41 scan=0x1e injected"), until COUNT keys (default 2)
// or SECONDS (default 60) have passed.
#include <cstdio>
#include <cstdlib>
#include <windows.h>

namespace {

int left = 2;

LRESULT CALLBACK Seen(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && left > 0) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
        const bool up = message == WM_KEYUP || message == WM_SYSKEYUP;
        std::printf("key %s vk=0x%02lx scan=0x%02lx%s\n", up ? "up" : "down", key->vkCode,
                    key->scanCode, (key->flags & LLKHF_INJECTED) != 0 ? " injected" : "");
        std::fflush(stdout);
        if (--left == 0)
            PostQuitMessage(0);
    }
    return CallNextHookEx(nullptr, code, message, data);
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1)
        left = std::atoi(argv[1]);
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 60;
    const HHOOK hook = SetWindowsHookExA(WH_KEYBOARD_LL, Seen, GetModuleHandleA(nullptr), 0);
    if (hook == nullptr) {
        std::fprintf(stderr, "padwright-keywatch: no keyboard hook (error %lu)\n", GetLastError());
        return 1;
    }
    SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, nullptr);
    std::printf("watching\n");
    std::fflush(stdout);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER)
        DispatchMessageA(&message);
    UnhookWindowsHookEx(hook);
    return left == 0 ? 0 : 1;
}
