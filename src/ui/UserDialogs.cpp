#include "ui/UserDialogs.h"

#include "ui/ProfileFileDialog.h"
#include "ui/common/DialogTexts.h"

#include <QMessageBox>

namespace padwright {

namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void QtUserDialogs::Warning(std::string_view text, std::string_view title) {
    QMessageBox box(QMessageBox::Warning, Text(title), Text(text), QMessageBox::Ok);
    box.exec();
}

void QtUserDialogs::Error(std::string_view text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Padwright"),
                    QString::fromStdString(ErrorBoxText(text)), QMessageBox::Ok, owner_);
    box.exec();
}

QMessageBox::StandardButton QtUserDialogs::Question(const QString& text,
                                                    QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton preferred) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Padwright"), text, buttons, owner_);
    box.setDefaultButton(preferred);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

std::optional<QString> QtUserDialogs::OpenProfileFile() {
    ProfileFileDialog dialog(owner_, ProfileFileDialog::Open);
    return dialog.Run();
}

std::optional<QString> QtUserDialogs::SaveProfileFile() {
    ProfileFileDialog dialog(owner_, ProfileFileDialog::Save);
    return dialog.Run();
}

} // namespace padwright
