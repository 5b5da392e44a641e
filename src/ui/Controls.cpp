#include "ui/Controls.h"

#include "ui/DropDown.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace padwright {

QLabel* Caption(QWidget* parent, const char* text, QRect place) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setGeometry(place);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton* Button(QWidget* parent, const char* text, QRect place, const char* hint) {
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setGeometry(place);
    button->setAutoDefault(true);
    if (hint)
        button->setToolTip(QString::fromLatin1(hint));
    return button;
}

QComboBox* List(QWidget* parent, QRect place, const char* hint) {
    auto* list = new TDropDown(parent);
    list->setGeometry(place);
    list->setToolTip(QString::fromLatin1(hint));
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return list;
}

QCheckBox* Check(QWidget* parent, const char* text, QRect place, const char* hint) {
    auto* box = new QCheckBox(QString::fromLatin1(text), parent);
    box->setGeometry(place);
    box->setToolTip(QString::fromLatin1(hint));
    return box;
}

} // namespace padwright
