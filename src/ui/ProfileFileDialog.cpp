#include "ui/ProfileFileDialog.h"

#include <QFileInfo>
#include <QMessageBox>

namespace padwright {

ProfileFileDialog::ProfileFileDialog(QWidget* parent, Purpose purpose) : QFileDialog(parent) {
    setNameFilter(QStringLiteral("Profile (*.pro)"));
    setDefaultSuffix(QStringLiteral("pro"));
    if (purpose == Open) {
        setAcceptMode(AcceptOpen);
        setFileMode(ExistingFile);
    } else {
        setAcceptMode(AcceptSave);
        setFileMode(AnyFile); // QFileDialog asks before overwriting by default
    }
    setOption(ReadOnly, false);
}

std::optional<QString> ProfileFileDialog::Run() {
    if (exec() != Accepted || selectedFiles().isEmpty())
        return std::nullopt;
    return selectedFiles().front();
}

void ProfileFileDialog::accept() {
    // A typed name in a folder that does not exist would only fail later, at the write.
    const QStringList files = selectedFiles();
    if (!files.isEmpty()) {
        const QFileInfo info(files.front());
        if (!info.isDir() && !info.absoluteDir().exists()) {
            QMessageBox::warning(this, windowTitle(),
                                 tr("The path %1 does not exist.").arg(info.absolutePath()));
            return;
        }
    }
    QFileDialog::accept();
}

} // namespace padwright
