#include "ui/frmEntry.h"

#include "ui/DesignFont.h"
#include "ui/ScreenPlacement.h"
#include "ui/common/DialogTexts.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace padwright {

TfrmEntry::TfrmEntry(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Entry"));
    setFont(DesignFont());
    setFixedSize(337, 65);

    Label1 = new QLabel(QStringLiteral("Name:"), this);
    Label1->move(0, 0);
    txtProfEntry = new QLineEdit(this);
    txtProfEntry->setGeometry(0, 16, 337, 21);
    txtProfEntry->setMaxLength(255);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setGeometry(288, 40, 49, 25);
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setGeometry(232, 40, 49, 25);
    cmdCancel->setAutoDefault(true); // a focused Cancel takes Enter, as in the main window

    QWidget::setTabOrder(txtProfEntry, cmdOK);
    QWidget::setTabOrder(cmdOK, cmdCancel);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOKClick(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancelClick(); });
}

QString TfrmEntry::AskName(const QString& initial) {
    txtProfEntry->setText(initial);
    if (parentWidget()) {
        const QRect owner = parentWidget()->frameGeometry();
        move(owner.center() - rect().center());
    }
    exec();
    return Result;
}

void TfrmEntry::cmdOKClick() {
    txtProfEntry->setText(QString::fromStdString(TrimName(txtProfEntry->text().toStdString())));
    Result = txtProfEntry->text();
    txtProfEntry->clear();
    accept();
}

void TfrmEntry::cmdCancelClick() {
    txtProfEntry->clear();
    Result.clear();
    reject();
}

void TfrmEntry::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    KeepOnScreen(*this);
    txtProfEntry->setFocus();
}

void TfrmEntry::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) { // Cancel is not bound to Escape
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmEntry::closeEvent(QCloseEvent* event) {
    // A close from the window manager counts as Cancel, so no stale result is taken for a name.
    if (isVisible())
        cmdCancelClick();
    event->accept();
}

} // namespace padwright
