#include "ui/DropDown.h"

#include <QAbstractItemView>
#include <QProxyStyle>
#include <QWheelEvent>

#include <algorithm>

namespace padwright {

namespace {

// Styles that open a drop-down list as a menu over the box (the default one among them) size it
// to every entry and ignore the visible count; a list below the box keeps to it and scrolls.
class ListPopupStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* answer) const override {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, answer);
    }
};

} // namespace

TDropDown::TDropDown(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    auto* style = new ListPopupStyle;
    style->setParent(this);
    setStyle(style);
    setMaxVisibleItems(VisibleEntries);
    // Focus by click or Tab only: a wheel passing over must not take it.
    setFocusPolicy(Qt::StrongFocus);
    view()->setTextElideMode(Qt::ElideRight);
}

void TDropDown::showPopup() {
    // The list grows to its longest entry; a long profile or controller name is cut instead of
    // stretching the list across the screen.
    QWidget* popup = view()->parentWidget();
    popup->setMaximumWidth(std::max(width(), window()->width()));
    QComboBox::showPopup();
}

void TDropDown::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

} // namespace padwright
