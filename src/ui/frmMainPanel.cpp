// The settings panel: one row per control slot of the selected controller, showing the mapping
// the selected profile gives that slot.
#include "ui/StaticText.h"
#include "ui/common/FunctionWords.h"
#include "ui/common/PanelKeys.h"
#include "ui/common/RowLayout.h"
#include "ui/common/RowTexts.h"
#include "ui/frmControlEntry.h"
#include "ui/frmMain.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QPointer>
#include <QScrollArea>

#include <algorithm>

namespace padwright {

namespace {

constexpr int RowHeight = SettingsRowLayout::RowHeight;
constexpr int RowPitch = SettingsRowLayout::RowPitch;

QString FunctionText(const TControlMapping& mapping) {
    const std::string_view name = mapping.FunctionName.view();
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

void Place(QWidget* box, const BoxPlace& place) {
    box->setGeometry(place.Left, place.Top, place.Width, place.Height);
}

void PlaceRow(const TSettingsRow& row, const RowPlace& place) {
    Place(row.NameBox, place.Name);
    Place(row.FunctionBox, place.Function);
    Place(row.ModifierBox, place.Modifier);
    Place(row.RepeatBox, place.Repeat);
}

} // namespace

void TfrmMain::cmbProfilesClick() {
    ShowProfileRows();
    core.ChooseProfile(SelectedJoystick() ? core.Controllers.View.cmbDevices.ItemIndex : -1,
                       SelectedProfile() ? cmbProfiles->currentIndex() : -1);
}

void TfrmMain::ProfileFollowed(std::size_t controller) {
    const TJoystick* joystick = SelectedJoystick();
    if (!joystick || static_cast<int>(controller) != core.Controllers.View.cmbDevices.ItemIndex)
        return;
    cmbProfiles->setCurrentIndex(joystick->ProfileInEffect() - 1);
    ShowProfileRows();
}

void TfrmMain::ShowProfileRows() {
    // The rows are rebuilt out of sight: one show at the end instead of one per box.
    scbContent->hide();
    ClearSettingsRows();
    TJoystick* joystick = SelectedJoystick();
    TProfile* profile = SelectedProfile();
    if (joystick && profile) {
        for (const TRowPlan& row : PlanSettingsRows(*joystick)) {
            AddSettingsRow(profile->Mappings[row.Slot], QString::fromStdString(row.Caption));
            SettingsRows.back().Slot = row.Slot;
        }
    }
    FitScrollRange();
    scbContent->show();
    focusedRow_ = 0;
    MarkFocusedRow();
    UpdatePanelHint();
}

void TfrmMain::ClearSettingsRows() {
    for (const TSettingsRow& row : SettingsRows) {
        delete row.NameBox;
        delete row.FunctionBox;
        delete row.ModifierBox;
        delete row.RepeatBox;
    }
    SettingsRows.clear();
    rowLayout_.Clear();
    ForgetLiveMarks();
}

void TfrmMain::AddSettingsRow(TControlMapping& mapping, const QString& caption) {
    const int n = static_cast<int>(SettingsRows.size());
    TSettingsRow row;
    const bool showNow = scbContent->isVisible();
    auto box = [&] {
        auto* b = new TStaticText(scbContent);
        if (showNow)
            b->show();
        return b;
    };

    row.NameBox = box();
    row.NameBox->setText(caption);
    row.NameBox->Tag = n;
    row.NameBox->setToolTip(QStringLiteral("Click to edit this control."));
    connect(row.NameBox, &TStaticText::clicked, this,
            [this](TStaticText* sender) { RunHandler([&] { SettingsRowClick(sender); }); });
    row.Mapping = &mapping;
    row.FunctionBox = box();
    row.ModifierBox = box();
    row.RepeatBox = box();
    row.RepeatBox->setAlignment(Qt::AlignCenter);

    // A name wider than the column widens it for every earlier row.
    if (rowLayout_.Add(row.NameBox->AutoWidth())) {
        for (std::size_t i = 0; i < SettingsRows.size(); ++i)
            PlaceRow(SettingsRows[i], rowLayout_.Rows()[i]);
    }
    PlaceRow(row, rowLayout_.Rows().back());
    RefreshRow(row);
    SettingsRows.push_back(row);
    if (showNow)
        FitScrollRange();
}

void TfrmMain::RefreshRow(const TSettingsRow& row) {
    row.FunctionBox->setText(FunctionText(*row.Mapping));
    row.ModifierBox->setText(QString::fromStdString(ModifierText(*row.Mapping)));
    row.RepeatBox->setText(QString::fromStdString(RepeatText(row.Mapping->RepeatRate)));
    row.FunctionBox->setToolTip(
        QString::fromStdString(FunctionWords(row.FunctionBox->text().toStdString(), &injector_)));
}

bool TfrmMain::PanelKey(const QKeyEvent& key) {
    if (SettingsRows.empty() || key.modifiers() & ~Qt::KeypadModifier)
        return false;
    RowKey panelKey;
    switch (key.key()) {
    case Qt::Key_Up:
        panelKey = RowKey::Up;
        break;
    case Qt::Key_Down:
        panelKey = RowKey::Down;
        break;
    case Qt::Key_Home:
        panelKey = RowKey::Home;
        break;
    case Qt::Key_End:
        panelKey = RowKey::End;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        panelKey = RowKey::Open;
        break;
    default:
        return false;
    }
    const PanelStep step = StepPanel(panelKey, focusedRow_, static_cast<int>(SettingsRows.size()));
    if (step.Open) {
        RunHandler(
            [&] { SettingsRowClick(SettingsRows[static_cast<std::size_t>(step.Row)].NameBox); });
        return true;
    }
    focusedRow_ = step.Row;
    MarkFocusedRow();
    return true;
}

void TfrmMain::MarkFocusedRow() {
    const bool focused = scbSettings->hasFocus();
    for (std::size_t i = 0; i < SettingsRows.size(); ++i)
        SettingsRows[i].NameBox->SetFocusMark(focused && int(i) == focusedRow_);
    if (focused && focusedRow_ < int(SettingsRows.size())) {
        const TSettingsRow& row = SettingsRows[static_cast<std::size_t>(focusedRow_)];
        scbSettings->ensureVisible(row.NameBox->x(), row.NameBox->y() + RowHeight / 2, 0, RowPitch);
    }
}

void TfrmMain::FitScrollRange() {
    scbContent->resize(rowLayout_.Width(), rowLayout_.Height());
}

void TfrmMain::SettingsRowClick(TStaticText* sender) {
    if (!sender)
        return;
    const auto index = static_cast<std::size_t>(sender->Tag);
    if (index >= SettingsRows.size() || SettingsRows[index].NameBox != sender)
        return;
    TControlMapping& mapping = *SettingsRows[index].Mapping;

    QPointer<TStaticText> nameBox = sender;
    nameBox->SetEditing(true);
    // The editor's title box carries the row's live mark while it is open.
    editingSlot_ = SettingsRows[index].Slot;
    frmControlEntry->txtControlName->SetEngaged(nameBox->Engaged());

    frmControlEntry->EditControl(nameBox->text(), mapping);
    editingSlot_ = -1;
    frmControlEntry->txtControlName->SetEngaged(false);
    core.MappingsChanged();

    // The rows may have been rebuilt while the editor was open; only a row that still exists
    // is refreshed.
    if (!nameBox)
        return;
    RefreshRow(SettingsRows[index]);
    nameBox->SetEditing(false);
}

} // namespace padwright
