// The settings panel when it has no rows: why it is blank and what to do next, in the theme's
// disabled-text colour, inside the panel's own area.
#include "ui/common/PanelHint.h"
#include "ui/frmMain.h"

#include <QLabel>
#include <QScrollArea>

namespace padwright {

QString TfrmMain::PanelHintText() {
    return QString::fromStdString(padwright::PanelHintText(
        core, SelectedJoystick(), SelectedProfile() != nullptr, !SettingsRows.empty()));
}

void TfrmMain::UpdatePanelHint() {
    const QString text = PanelHintText();
    txtPanelHint->setText(text);
    txtPanelHint->setVisible(!text.isEmpty());
}

} // namespace padwright
