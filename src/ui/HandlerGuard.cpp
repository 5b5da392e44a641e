#include "ui/HandlerGuard.h"

#include "engine/Errors.h"

#include <new>

namespace padwright {

void ShowHandlerError(IUserDialogs& dialogs, const std::exception_ptr& error) {
    QString text;
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        text = QStringLiteral("Out of memory");
    } catch (const std::exception& e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
        text = QStringLiteral("Unknown error");
    }
    dialogs.ErrorBox(text);
}

} // namespace padwright
