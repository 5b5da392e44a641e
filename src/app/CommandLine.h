#pragma once
// The program's own command-line options (core/CommandLine.h reads them). Qt's standard options
// (-platform, -display, -style, ...) are left to QApplication, which takes them out of the
// arguments it is given.
#include "app/InstanceClient.h"
#include "core/CommandLine.h"

#include <QString>
#include <QStringList>

namespace padwright {

// `arguments` without the program name, in the local encoding.
CommandLine ParseCommandLine(const QStringList& arguments);

QString UsageText();
QString VersionText();

// Creates the data folder when missing and makes it the working folder, so that the profile
// store and the log land there. False with `error` set when it cannot.
bool EnterDataFolder(QString& error);

} // namespace padwright
