#include "ui/UserDialogs.h"

#include "ui/ProfileFileDialog.h"

#include <QMessageBox>

namespace padwright {

QString ErrorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QChar('.'))
        return message + '.';
    return message;
}

void QtUserDialogs::MessageBox(const QString& text, const QString& title, BoxIcon icon) {
    QMessageBox box(icon == BoxIcon::Warning ? QMessageBox::Warning : QMessageBox::Critical, title,
                    text, QMessageBox::Ok);
    box.exec();
}

void QtUserDialogs::ErrorBox(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Padwright"), ErrorBoxText(text),
                    QMessageBox::Ok, owner_);
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
