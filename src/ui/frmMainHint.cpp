// The settings panel when it has no rows: why it is blank and what to do next, in the theme's
// disabled-text colour, inside the panel's own area.
#include "ui/common/RowTexts.h"
#include "ui/frmMain.h"

#include <QLabel>
#include <QScrollArea>

namespace padwright {

namespace {

QString Quoted(const std::string& name) {
    return QStringLiteral("\"%1\"").arg(QString::fromStdString(name));
}

} // namespace

QString TfrmMain::PanelHintText() {
    if (!SettingsRows.empty())
        return {};
    const auto& denied = core.Controllers.DeniedNames();
    if (Lists.FoundJoysticks.empty() && Lists.ActiveJoysticks.empty()) {
        QString text = QStringLiteral("No game controller was found. Plug one in: it appears under "
                                      "\"Controllers Found\" by itself.");
        if (!denied.empty())
            text += QStringLiteral(
                        "\n\n%1 is a game controller this user may not read. A udev rule that "
                        "tags it \"uaccess\" gives access to the user at the seat (systemd does "
                        "so for the joysticks it recognises); or add the user to the \"input\" "
                        "group (sudo usermod -aG input $USER) and log in again.")
                        .arg(Quoted(denied.front()));
        return text;
    }
    if (Lists.ActiveJoysticks.empty())
        return QStringLiteral("No controller is active yet. Pick one under \"Controllers Found\" "
                              "and press Add.");
    const TJoystick* joystick = SelectedJoystick();
    if (!joystick)
        return QStringLiteral("Pick an active controller under \"Active Controllers\" to see and "
                              "change what its controls do.");
    QStringList said;
    bool connected = false;
    for (const TJoystick& found : Lists.FoundJoysticks)
        connected = connected || found.Guid == joystick->Guid;
    if (!connected)
        said << QStringLiteral("%1 is not connected. Plug it in: Padwright reads it again by "
                               "itself.")
                    .arg(Quoted(joystick->Name));
    if (!SelectedProfile())
        said << QStringLiteral("This controller has no profile. Choose one under \"Profiles\", "
                               "or add one with \">\" -> Add.");
    else if (connected)
        said << QStringLiteral("%1 has no axes, hats or buttons to show. If it was plugged in "
                               "again just now, pick it again under \"Active Controllers\".")
                    .arg(Quoted(joystick->Name));
    return said.join(QStringLiteral("\n\n"));
}

void TfrmMain::UpdatePanelHint() {
    const QString text = PanelHintText();
    txtPanelHint->setText(text);
    txtPanelHint->setVisible(!text.isEmpty());
}

} // namespace padwright
