#pragma once
// Every handler of the windows runs through Guarded: an error that ends the handler is shown in
// the standard error box, and the program goes on.
#include "ui/UserDialogs.h"

#include <utility>

namespace padwright {

// Shows the text of whatever `handler` threw; reports whether it ran to its end.
template <typename Handler> bool Guarded(IUserDialogs& dialogs, Handler&& handler);

void ShowHandlerError(IUserDialogs& dialogs, const std::exception_ptr& error);

template <typename Handler> bool Guarded(IUserDialogs& dialogs, Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (...) {
        ShowHandlerError(dialogs, std::current_exception());
        return false;
    }
}

} // namespace padwright
