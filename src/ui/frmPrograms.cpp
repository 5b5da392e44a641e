#include "ui/frmPrograms.h"

#include "core/Core.h"
#include "core/ProgramRules.h"
#include "ui/DesignFont.h"
#include "ui/ScreenPlacement.h"
#include "ui/common/DialogTexts.h"
#include "ui/common/ProgramsTexts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace padwright {

namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

TfrmPrograms::TfrmPrograms(Core& core, ProgramFollower& follower, const IForegroundSource* source,
                           QWidget* parent)
    : QDialog(parent), core_(core), follower_(follower), source_(source) {
    setWindowTitle(QStringLiteral("Programs"));
    setFont(DesignFont());

    txtFollowing = new QLabel(this);
    txtFollowing->setWordWrap(true);
    lstRules = new QTreeWidget(this);
    lstRules->setHeaderLabels(
        {QStringLiteral("Program"), QStringLiteral("Controllers"), QStringLiteral("Profile")});
    lstRules->setRootIsDecorated(false);
    lstRules->header()->setSectionResizeMode(QHeaderView::Stretch);
    cmbProgram = new QComboBox(this);
    cmbProgram->setEditable(true);
    cmbProgram->lineEdit()->setMaxLength(255);
    cmbProgram->setToolTip(QStringLiteral("The program in front, a program with an open window, "
                                          "or a name typed: the window class, app id or file "
                                          "name, in any case."));
    cmbControllers = new QComboBox(this);
    cmdAdd = new QPushButton(QStringLiteral("&Add"), this);
    cmdRemove = new QPushButton(QStringLiteral("&Remove"), this);
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setDefault(true);

    auto* adding = new QHBoxLayout;
    adding->addWidget(new QLabel(QStringLiteral("When"), this));
    adding->addWidget(cmbProgram, 2);
    adding->addWidget(new QLabel(QStringLiteral("is in front:"), this));
    adding->addWidget(cmbControllers, 2);
    adding->addWidget(cmdAdd);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdRemove);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* all = new QVBoxLayout(this);
    all->addWidget(txtFollowing);
    all->addWidget(lstRules);
    all->addLayout(adding);
    all->addLayout(buttons);
    resize(560, 320);

    connect(cmdAdd, &QPushButton::clicked, this, [this] { core_.Run([this] { cmdAddClick(); }); });
    connect(cmdRemove, &QPushButton::clicked, this,
            [this] { core_.Run([this] { cmdRemoveClick(); }); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(lstRules, &QTreeWidget::itemSelectionChanged, this, &TfrmPrograms::UpdateButtons);
    connect(cmbProgram, &QComboBox::editTextChanged, this, &TfrmPrograms::UpdateButtons);
}

void TfrmPrograms::ShowFor(int profile) {
    profile_ = profile;
    txtFollowing->setText(Text(FollowingText(source_)));
    FillRules();
    FillPrograms();
    FillControllers();
    UpdateButtons();
    if (parentWidget())
        move(parentWidget()->frameGeometry().center() - rect().center());
    KeepOnScreen(*this);
    exec();
}

void TfrmPrograms::FillRules() {
    lstRules->clear();
    const TLists& lists = core_.Lists;
    for (const TProgramRule& rule : lists.Programs)
        lstRules->addTopLevelItem(
            new QTreeWidgetItem({Text(rule.Program), Text(RuleControllersText(lists, rule)),
                                 Text(RuleProfileText(lists, rule))}));
}

void TfrmPrograms::FillPrograms() {
    QStringList names;
    if (const auto& front = follower_.InFront())
        names << Text(ProgramName(*front));
    if (source_)
        for (const ForegroundProgram& open : source_->OpenWindows())
            if (!open.own)
                names << Text(ProgramName(open));
    names.removeAll(QString());
    names.removeDuplicates();
    cmbProgram->clear();
    cmbProgram->addItems(names);
}

void TfrmPrograms::FillControllers() {
    cmbControllers->clear();
    cmbControllers->addItem(QStringLiteral("All controllers"));
    for (const TJoystick& pad : core_.Lists.ActiveJoysticks)
        cmbControllers->addItem(Text(ControllerListText(pad)), Text(GuidToString(pad.Guid)));
}

void TfrmPrograms::UpdateButtons() {
    cmdAdd->setEnabled(profile_ >= 0 && profile_ < core_.Lists.Profiles.count() &&
                       !TrimName(cmbProgram->currentText().toStdString()).empty());
    cmdRemove->setEnabled(!lstRules->selectedItems().isEmpty());
}

void TfrmPrograms::cmdAddClick() {
    const std::string program = TrimName(cmbProgram->currentText().toStdString());
    if (program.empty() || profile_ < 0 || profile_ >= core_.Lists.Profiles.count())
        return;
    follower_.AddRule(
        {program, profile_ + 1, cmbControllers->currentData().toString().toStdString()});
    FillRules();
    UpdateButtons();
}

void TfrmPrograms::cmdRemoveClick() {
    const QList<QTreeWidgetItem*> selected = lstRules->selectedItems();
    const int row = selected.isEmpty() ? -1 : lstRules->indexOfTopLevelItem(selected.first());
    if (row < 0)
        return;
    follower_.RemoveRule(static_cast<std::size_t>(row));
    FillRules();
    UpdateButtons();
}

} // namespace padwright
