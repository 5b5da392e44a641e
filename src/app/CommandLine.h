#pragma once
// The program's own command-line options. Qt's standard options (-platform, -display, -style,
// ...) are left to QApplication, which takes them out of the arguments it is given.
#include "app/InstanceClient.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace padwright {

struct CommandLine {
    bool help = false;
    bool version = false;
    // Work in the user's data folder instead of the folder the program was started from.
    bool dataFolder = false;
    // A command for the running instance: --status, --profile NAME [--controller ID], --start,
    // --stop, --show.
    std::optional<InstanceRequest> request;
    // Why the arguments make no command line of ours (a command without its value, two
    // commands); empty when they do.
    QString error;
    // Arguments that are not ours; after QApplication has taken its own, any left is an error.
    QStringList others;
};

// `arguments` without the program name.
CommandLine ParseCommandLine(const QStringList& arguments);

QString UsageText();
QString VersionText();

// Creates the data folder when missing and makes it the working folder, so that the profile
// store and the log land there. False with `error` set when it cannot.
bool EnterDataFolder(QString& error);

} // namespace padwright
