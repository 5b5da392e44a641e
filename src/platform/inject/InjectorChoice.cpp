#include "platform/inject/InjectorChoice.h"

#include "platform/inject/ScanCodes.h"
#include "platform/inject/UinputDevice.h"
#include "platform/inject/XTestInjector.h"

#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace padwright {

namespace {

// Keeps MapVirtualKeyA answering while every input call goes nowhere; the status says why.
class NoInjector : public IInputInjector {
public:
    std::uint32_t MapVirtualKeyA(std::uint32_t code, std::uint32_t mapType) override {
        return mapType == MAPVK_VK_TO_VSC ? VirtualKeyToScanCode(code) : 0;
    }
    void keybd_event(std::uint8_t, std::uint8_t, std::uint32_t, std::uintptr_t) override {}
    void mouse_event(std::uint32_t, std::int32_t, std::int32_t, std::int32_t,
                     std::uintptr_t) override {}
    void SendAppCommand(std::uint32_t) override {}
};

bool IsWaylandSession() {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* type = std::getenv("XDG_SESSION_TYPE");
    return (wayland && *wayland) || (type && std::string_view(type) == "wayland");
}

} // namespace

InjectorOpeners InjectorOpeners::System() {
    InjectorOpeners openers;
    openers.uinput = [](std::string& error) -> std::unique_ptr<IInputInjector> {
        auto writer = OpenUinputDevice(error);
        if (!writer)
            return nullptr;
        return std::make_unique<UinputInjector>(std::move(writer), OpenDesktopLayout(nullptr));
    };
    openers.xtest = [](std::string& error) -> std::unique_ptr<IInputInjector> {
        return XTestInjector::Open(nullptr, error);
    };
    openers.waylandSession = IsWaylandSession();
    return openers;
}

std::string UinputAccessAdvice(const std::vector<std::string>& ruleFolders) {
    const std::string rule = "70-padwright-uinput.rules";
    const std::string apply = "run \"sudo udevadm control --reload && sudo udevadm trigger\" and "
                              "\"sudo modprobe uinput\", then log out and in again";
    for (const std::string& folder : ruleFolders) {
        std::error_code ignored;
        if (std::filesystem::is_regular_file(folder + "/" + rule, ignored))
            return "Padwright's udev rule " + folder + "/" + rule +
                   " gives the user at the seat access to /dev/uinput; it takes effect at the "
                   "next boot. To apply it now, " +
                   apply + ".";
    }
    return "To give Padwright access to /dev/uinput, install its package, or install the udev "
           "rule " +
           rule +
           " (data/udev in the source) into /etc/udev/rules.d and padwright-uinput.conf "
           "(data/modules-load) into /etc/modules-load.d; then " +
           apply + ". Alternatively add your user to a group that may write /dev/uinput.";
}

std::string UinputAccessAdvice() {
    return UinputAccessAdvice({"/etc/udev/rules.d", "/usr/local/lib/udev/rules.d",
                               "/usr/lib/udev/rules.d", "/lib/udev/rules.d"});
}

InjectorChoice ChooseInjector(const InjectorOpeners& openers) {
    InjectorChoice choice;
    std::string uinputError;
    if (openers.uinput)
        choice.injector = openers.uinput(uinputError);
    if (choice.injector) {
        choice.status = {InjectionLevel::Full, "uinput", {}};
        return choice;
    }
    std::string xtestError;
    if (openers.xtest)
        choice.injector = openers.xtest(xtestError);
    if (choice.injector) {
        choice.status.backend = "XTest";
        if (openers.waylandSession) {
            choice.status.level = InjectionLevel::Limited;
            choice.status.message = "Padwright sends keys and mouse input through XTest, which "
                                    "in a Wayland session reaches only X programs (" +
                                    uinputError + "). " + UinputAccessAdvice();
        } else {
            choice.status.level = InjectionLevel::Full;
        }
        return choice;
    }
    choice.injector = std::make_unique<NoInjector>();
    choice.status = {InjectionLevel::None,
                     {},
                     "Padwright cannot send keys or mouse input: " + uinputError + ", and " +
                         xtestError + ". " + UinputAccessAdvice()};
    return choice;
}

} // namespace padwright
