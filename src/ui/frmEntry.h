#pragma once
// The name dialog of the profile operations. An empty result means cancel to every caller.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace padwright {

class TfrmEntry : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEntry(QWidget* parent = nullptr);

    // Puts `initial` into the field, shows the dialog modally and returns its result text.
    QString AskName(const QString& initial);

    QLabel* Label1;
    QLineEdit* txtProfEntry;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    // Set only by OK (the trimmed text) and Cancel (empty).
    QString Result;

    void cmdOKClick();
    void cmdCancelClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

} // namespace padwright
