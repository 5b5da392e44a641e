// padwright: one instance per user, the main window and its tray icon, until the window closes.
#include "app/Program.h"
#include "app/SingleInstance.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace {

bool HasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// Without a display Qt would abort with a core dump; say what is missing instead.
int NoDisplay() {
    std::fputs("Padwright needs a graphical session: neither DISPLAY nor WAYLAND_DISPLAY is set.\n",
               stderr);
    return 1;
}

int LockFailed(int& argc, char** argv, const QString& text) {
    std::fprintf(stderr, "%s\n", qPrintable(text));
    if (HasDisplay()) {
        QApplication app(argc, argv);
        QMessageBox::critical(nullptr, QStringLiteral("Padwright"), text);
    }
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    padwright::SingleInstance instance;
    switch (instance.TryLock()) {
    case padwright::SingleInstance::HeldElsewhere:
        return 0; // silently: the running instance is not disturbed
    case padwright::SingleInstance::Failed:
        return LockFailed(argc, argv, instance.ErrorText());
    case padwright::SingleInstance::Acquired:
        break;
    }
    if (!HasDisplay())
        return NoDisplay();

    QApplication app(argc, argv);
    return padwright::RunProgram(app, instance);
}
