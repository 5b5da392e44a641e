// The profile menu: Add, Copy, Rename and Delete (Import and Export live with the store).
#include "engine/Rounding.h"
#include "store/ProfileOperations.h"
#include "ui/frmEntry.h"
#include "ui/frmMain.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>

namespace padwright {

namespace {

QString NameText(const TProfile& profile) {
    const std::string_view name = profile.Name.view();
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

} // namespace

void TfrmMain::popProfilePopup() {
    const bool controller = cmbDevices->currentIndex() >= 0;
    const bool profile = cmbProfiles->currentIndex() >= 0;
    mnuPAdd->setEnabled(controller);
    mnuPCopy->setEnabled(profile);
    mnuPRename->setEnabled(profile);
    mnuPDelete->setEnabled(profile);
    mnuPImport->setEnabled(controller);
    mnuPExport->setEnabled(profile);
    mnuPPrograms->setEnabled(profile);
}

void TfrmMain::cmdPPopUpClick() {
    const QPoint centre(static_cast<int>(RoundHalfEven(cmdPPopUp->width() / 2.0)),
                        static_cast<int>(RoundHalfEven(cmdPPopUp->height() / 2.0)));
    popProfile->exec(cmdPPopUp->mapToGlobal(centre));
}

void TfrmMain::mnuPProgramsClick() {
    if (SelectedProfile() && ShowPrograms)
        ShowPrograms(cmbProfiles->currentIndex());
}

void TfrmMain::AppendProfile(const TProfile& profile) {
    cmbProfiles->addItem(NameText(profile));
    cmbProfiles->setCurrentIndex(cmbProfiles->count() - 1);
    cmbProfilesClick();
}

bool TfrmMain::ProfileRoomLeft() {
    if (ProfileRoom(Lists.Profiles) > 0)
        return true;
    // Before any name or file is asked for, which could only be refused.
    Dialogs.Warning(ProfileLimitText(), "Attention");
    return false;
}

void TfrmMain::mnuPAddClick() {
    if (!ProfileRoomLeft())
        return;
    const QString name = frmEntry->AskName(QString());
    if (name.isEmpty())
        return;
    AppendProfile(AddProfile(Lists, name.toStdString()));
}

void TfrmMain::mnuPCopyClick() {
    const TProfile* source = SelectedProfile();
    if (!source || !ProfileRoomLeft())
        return;
    const auto index = static_cast<std::size_t>(cmbProfiles->currentIndex());
    const QString name = frmEntry->AskName(NameText(*source));
    if (name.isEmpty())
        return;
    AppendProfile(CopyProfile(Lists, index, name.toStdString()));
}

void TfrmMain::mnuPRenameClick() {
    TProfile* profile = SelectedProfile();
    if (!profile)
        return;
    const int p = cmbProfiles->currentIndex();
    const QString name = frmEntry->AskName(NameText(*profile));
    if (name.isEmpty())
        return;
    // The list shows what the profile stores: the name cut to its 255 bytes.
    const std::string stored = Utf8Cut(name.toStdString(), NameCapacity);
    cmbProfiles->setItemText(p, QString::fromStdString(stored));
    cmbProfiles->setCurrentIndex(p);
    cmbProfilesClick();
    profile->Name.assign(stored);
}

void TfrmMain::mnuPDeleteClick() {
    if (!SelectedProfile())
        return;
    const auto p = static_cast<std::size_t>(cmbProfiles->currentIndex());
    cmbProfiles->clear();
    core.DeleteProfile(p);
    for (const TProfile& profile : Lists.Profiles)
        cmbProfiles->addItem(NameText(profile));
    cmbProfiles->setCurrentIndex(-1);
    cmbProfilesClick();
    if (!Lists.Profiles.empty())
        core.ResumeReading();
}

} // namespace padwright
