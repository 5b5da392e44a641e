#include "app/CommandLine.h"

#include "store/DataFolder.h"

#include <QDir>

#include <algorithm>
#include <climits>
#include <iterator>
#include <utility>

namespace padwright {

namespace {

// Takes the value an option needs from `arguments` after `i`; empty when there is none.
QString Value(const QStringList& arguments, qsizetype& i) {
    return i + 1 < arguments.size() ? arguments[++i] : QString();
}

void SetRequest(CommandLine& line, InstanceRequest::Kind kind) {
    if (line.request && line.error.isEmpty())
        line.error = QStringLiteral("only one of --status, --profile, --start, --stop and "
                                    "--show at a time");
    line.request = InstanceRequest{kind, {}, -1};
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    static const std::pair<const char*, InstanceRequest::Kind> commands[] = {
        {"--status", InstanceRequest::Status},
        {"--start", InstanceRequest::Start},
        {"--stop", InstanceRequest::Stop},
        {"--show", InstanceRequest::Show}};
    CommandLine line;
    std::optional<QString> profile, controller;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const auto command = std::find_if(std::begin(commands), std::end(commands),
                                          [&](const auto& c) { return argument == c.first; });
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help"))
            line.help = true;
        else if (argument == QLatin1String("--version"))
            line.version = true;
        else if (argument == QLatin1String("--data-folder"))
            line.dataFolder = true;
        else if (command != std::end(commands))
            SetRequest(line, command->second);
        else if (argument == QLatin1String("--profile")) {
            SetRequest(line, InstanceRequest::Profile);
            profile = Value(arguments, i);
        } else if (argument == QLatin1String("--controller"))
            controller = Value(arguments, i);
        else
            line.others << argument;
    }
    if (!line.error.isEmpty())
        return line;
    // Toolkit options mean something only to a program that starts.
    if (line.request && line.request->kind != InstanceRequest::Show && !line.others.isEmpty())
        line.error = QStringLiteral("unknown argument \"%1\"").arg(line.others.first());
    if (profile) {
        line.request->profile = *profile;
        if (profile->isEmpty())
            line.error = QStringLiteral("--profile needs the name of a profile");
    }
    if (controller) {
        bool number = false;
        const uint id = controller->toUInt(&number);
        if (!profile)
            line.error = QStringLiteral("--controller goes with --profile");
        else if (!number || id > INT_MAX)
            line.error = QStringLiteral("--controller needs a joystick ID, such as 0");
        else
            line.request->controller = static_cast<int>(id);
    }
    return line;
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
