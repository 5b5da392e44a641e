#pragma once
// The boxes and file dialogs the windows show: the core's warning and error boxes, and what only
// the windows ask. The Qt implementation shows real ones; tests answer them with a fake, so no
// handler waits on a human.
#include "store/MessageBoxes.h"

#include <QMessageBox>
#include <QString>

#include <optional>

class QWidget;

namespace padwright {

class IUserDialogs : public IMessageBoxes {
public:
    // A question titled "Padwright" owned by the main window, with `buttons`; `preferred` is the
    // default (Enter), Cancel or No answers Escape. Returns the button pressed.
    virtual QMessageBox::StandardButton Question(const QString& text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton preferred) = 0;
    // dlgOpen: an existing single-profile file, or nothing when the user cancels.
    virtual std::optional<QString> OpenProfileFile() = 0;
    // dlgSave: the file to write (the user has agreed to replace it), or nothing.
    virtual std::optional<QString> SaveProfileFile() = 0;
};

class QtUserDialogs : public IUserDialogs {
public:
    // `owner` is the main window: the error box and the file dialogs centre on it.
    explicit QtUserDialogs(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }

    void Warning(std::string_view text, std::string_view title) override;
    void Error(std::string_view text) override;
    QMessageBox::StandardButton Question(const QString& text, QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton preferred) override;
    std::optional<QString> OpenProfileFile() override;
    std::optional<QString> SaveProfileFile() override;

private:
    QWidget* owner_;
};

} // namespace padwright
