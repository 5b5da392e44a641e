#include "app/CommandLine.h"

#include "store/DataFolder.h"

#include <QDir>

namespace padwright {

CommandLine ParseCommandLine(const QStringList& arguments) {
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(arguments.size()));
    for (const QString& argument : arguments)
        texts.push_back(argument.toStdString());
    return padwright::ParseCommandLine(texts);
}

QString UsageText() {
    return QStringLiteral(
        "usage: padwright [--data-folder] [Qt options]\n"
        "       padwright --status | --profile NAME [--controller ID] | --start | --stop |\n"
        "                 --show\n"
        "Lets game controllers drive the keyboard and the mouse.\n"
        "\n"
        "  --data-folder  keep the profiles (Padwright.pro) and the log (Padwright.log) in\n"
        "                 $XDG_DATA_HOME/Padwright (usually ~/.local/share/Padwright), created\n"
        "                 when missing; without it they lie in the folder padwright starts in\n"
        "  -h, --help     show this help and exit\n"
        "  --version      show the version and exit\n"
        "\n"
        "Commands for the Padwright that runs, which fail when none does:\n"
        "  --status       one line per active controller, fields separated by tabs: the\n"
        "                 controller, its profile, \"on\" or \"off\" (being read), the program\n"
        "                 in front\n"
        "  --profile NAME put every active controller, or the one with joystick ID ID, on the\n"
        "                 first profile named NAME until the program in front changes\n"
        "  --start, --stop  start or stop reading the controllers\n"
        "  --show         show the window; starts Padwright when it is not running\n"
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
