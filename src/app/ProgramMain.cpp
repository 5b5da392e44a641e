// padwright: one instance per user, the main window and its tray icon, until the window closes.
#include "app/ProgramMain.h"

#include "app/CommandLine.h"
#include "app/DisplayOpening.h"
#include "app/InstanceClient.h"
#include "app/Program.h"
#include "platform/instance/linux/LockFileLock.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

namespace {

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

bool HasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

void Print(FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// Without a display Qt would abort with a core dump; say what is missing instead.
int NoDisplay() {
    Print(stderr, QStringLiteral("Padwright needs a graphical session: neither DISPLAY nor "
                                 "WAYLAND_DISPLAY is set.\n"));
    return ExitFailure;
}

int LockFailed(int& argc, char** argv, const QString& text) {
    Print(stderr, text + QLatin1Char('\n'));
    if (HasDisplay()) {
        padwright::DisplayOpening opening({});
        QApplication app(argc, argv);
        QMessageBox::critical(nullptr, QStringLiteral("Padwright"), text);
    }
    return ExitFailure;
}

QStringList Arguments(int argc, char** argv) {
    QStringList out;
    for (int i = 1; i < argc; ++i)
        out << QString::fromLocal8Bit(argv[i]);
    return out;
}

} // namespace

namespace padwright {

int ProgramMain(int argc, char** argv, ReadingPace pace, PartsChange change) {
    // Help and version need no display; the data folder is entered before anything is read.
    const CommandLine line = ParseCommandLine(Arguments(argc, argv));
    if (line.help) {
        Print(stdout, UsageText());
        return 0;
    }
    if (line.version) {
        Print(stdout, VersionText());
        return 0;
    }
    if (!line.error.empty()) {
        Print(stderr, QStringLiteral("padwright: %1\n").arg(QString::fromStdString(line.error)));
        Print(stderr, UsageText());
        return ExitUsage;
    }
    if (line.request) {
        std::optional<int> code;
        {
            QCoreApplication client(argc, argv);
            code = SendToRunningInstance(*line.request);
        }
        if (code) {
            // Done. Qt's D-Bus thread may still be handling the bus's own messages while the
            // process's statics go, and would warn of types it no longer knows: end here.
            std::fflush(nullptr);
            std::_Exit(*code);
        }
        // --show with none running: this one starts.
    }
    QString error;
    if (line.dataFolder && !EnterDataFolder(error)) {
        Print(stderr, error + QLatin1Char('\n'));
        return ExitFailure;
    }

    LockFileLock instance;
    switch (instance.TryLock()) {
    case IInstanceLock::HeldElsewhere:
        return 0; // silently: the running instance is not disturbed
    case IInstanceLock::Failed:
        return LockFailed(argc, argv, QString::fromStdString(instance.ErrorText()));
    case IInstanceLock::Acquired:
        break;
    }
    if (!HasDisplay()) {
        instance.Release();
        return NoDisplay();
    }

    std::optional<DisplayOpening> opening(std::in_place, [&instance] { instance.Release(); });
    QApplication app(argc, argv);
    opening.reset();
    // QApplication has taken its own options out; whatever is left is not an option of ours.
    const std::vector<std::string> left = ParseCommandLine(QApplication::arguments().mid(1)).others;
    if (!left.empty()) {
        Print(stderr, QStringLiteral("padwright: unknown argument \"%1\"\n")
                          .arg(QString::fromStdString(left.front())));
        Print(stderr, UsageText());
        instance.Release();
        return ExitUsage;
    }
    return RunProgram(app, instance, pace, std::move(change));
}

} // namespace padwright
