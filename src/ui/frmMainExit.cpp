// Leaving the program: work that Save would keep is never dropped without a question.
#include "ui/frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QMessageBox>
#include <QTimer>

namespace padwright {

void TfrmMain::RememberSavedState() {
    core.RememberSaved(chkStartMinimized->isChecked());
}

bool TfrmMain::UnsavedChanges() {
    return core.ChangedSinceSaved(chkStartMinimized->isChecked());
}

bool TfrmMain::ConfirmExit() {
    if (!UnsavedChanges())
        return true;
    switch (Dialogs.Question(QString::fromLatin1(layout::ExitQuestion),
                             QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                             QMessageBox::Save)) {
    case QMessageBox::Save:
        // A failed Save has shown its error box; the program stays, with the work in it.
        return RunHandler([this] { cmdSaveClick(); });
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void TfrmMain::cmdExitClick() {
    if (ConfirmExit())
        close();
}

void TfrmMain::CloseUnasked() {
    if (QWidget* box = QApplication::activeModalWidget())
        box->close();
    close();
}

bool TfrmMain::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::Close) {
        // Decided once the close is through: the window is gone from the screen then, also when
        // it was hidden in the tray. Asked only after the close event was handled, since the
        // question about unsaved work runs an event loop of its own while the window still shows.
        QTimer::singleShot(0, this, [this] {
            if (!isVisible())
                emit Closed();
        });
    }
    return handled;
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    // The close box is the user's Exit and asks the same. A close the program makes itself does
    // not: after the question was answered, and when a signal or the session's end closes the
    // window, which ends the program as it always did, saving nothing and asking nothing.
    if (event->spontaneous() && !ConfirmExit()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace padwright
