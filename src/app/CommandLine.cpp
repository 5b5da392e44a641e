#include "app/CommandLine.h"

#include "store/DataFolder.h"

#include <QDir>

namespace padwright {

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine line;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help"))
            line.help = true;
        else if (argument == QLatin1String("--version"))
            line.version = true;
        else if (argument == QLatin1String("--data-folder"))
            line.dataFolder = true;
        else
            line.others << argument;
    }
    return line;
}

QString UsageText() {
    return QStringLiteral(
        "usage: padwright [--data-folder] [Qt options]\n"
        "Lets game controllers drive the keyboard and the mouse.\n"
        "\n"
        "  --data-folder  keep the profiles (Padwright.pro) and the log (Padwright.log) in\n"
        "                 $XDG_DATA_HOME/Padwright (usually ~/.local/share/Padwright), created\n"
        "                 when missing; without it they lie in the folder padwright starts in\n"
        "  -h, --help     show this help and exit\n"
        "  --version      show the version and exit\n"
        "\n"
        "The standard Qt options are taken too, among them -platform NAME (xcb, wayland),\n"
        "-display DISPLAY, -style STYLE and -reverse. Settings are kept in\n"
        "$XDG_CONFIG_HOME/Vemoskar/Padwright.conf. See padwright(1).\n");
}

QString VersionText() {
    return QStringLiteral("padwright " PADWRIGHT_VERSION "\n");
}

bool EnterDataFolder(QString& error) {
    const QString folder = QString::fromStdString(DataFolder());
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("Padwright cannot create its data folder \"%1\".").arg(folder);
        return false;
    }
    if (!QDir::setCurrent(folder)) {
        error = QStringLiteral("Padwright cannot enter its data folder \"%1\".").arg(folder);
        return false;
    }
    return true;
}

} // namespace padwright
