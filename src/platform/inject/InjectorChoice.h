#pragma once
// Picks the injector at start: uinput, else XTest, else none, and says how far the input
// reaches so that the window can warn the user and tools can refuse to run.
#include "platform/inject/Injector.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace padwright {

enum class InjectionLevel {
    Full,    // every program receives the input
    Limited, // XTest under a Wayland session: only X programs receive it
    None,    // nothing can be sent; the injector drops every call
};

struct InjectionStatus {
    InjectionLevel level = InjectionLevel::None;
    std::string backend; // "uinput", "XTest", or empty for none
    // Empty when full; otherwise what is wrong and how to grant access to /dev/uinput.
    std::string message;
};

struct InjectorChoice {
    std::unique_ptr<IInputInjector> injector; // never null
    InjectionStatus status;
};

// How the choice reaches the system; tests replace the openers.
struct InjectorOpeners {
    using Opener = std::function<std::unique_ptr<IInputInjector>(std::string& error)>;
    Opener uinput;
    Opener xtest;
    bool waylandSession = false;

    // /dev/uinput, the X display of $DISPLAY, and the session type from the environment.
    static InjectorOpeners System();
};

InjectorChoice ChooseInjector(const InjectorOpeners& openers = InjectorOpeners::System());

// The advice on granting access to /dev/uinput that the status messages end with: names the
// installed udev rule and the commands that apply it now, or how to install it.
std::string UinputAccessAdvice();
// The same, looking for the rule in `ruleFolders` only.
std::string UinputAccessAdvice(const std::vector<std::string>& ruleFolders);

} // namespace padwright
