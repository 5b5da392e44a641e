#pragma once
// dlgOpen and dlgSave: single-profile files, filter "Profile|*.pro", default extension "pro".
// Neither accepts a folder that does not exist; the open dialog only takes existing files and
// the save dialog asks before replacing one.
#include <QFileDialog>

#include <optional>

namespace padwright {

class ProfileFileDialog : public QFileDialog {
    Q_OBJECT
public:
    enum Purpose { Open, Save };
    ProfileFileDialog(QWidget* parent, Purpose purpose);
    // Runs the dialog modally; the chosen file, or nothing when cancelled.
    std::optional<QString> Run();

    void accept() override;
};

} // namespace padwright
