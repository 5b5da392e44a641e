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
    return QString::fromStdString(padwright::UsageText(
        " [Qt options]",
        "                 $XDG_DATA_HOME/Padwright (usually ~/.local/share/Padwright), created\n"
        "                 when missing; without it they lie in the folder padwright starts in\n",
        "The standard Qt options are taken too, among them -platform NAME (xcb, wayland),\n"
        "-display DISPLAY, -style STYLE and -reverse. Settings are kept in\n"
        "$XDG_CONFIG_HOME/Vemoskar/Padwright.conf. See padwright(1).\n"));
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
