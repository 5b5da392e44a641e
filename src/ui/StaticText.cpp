#include "ui/StaticText.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace padwright {

namespace {
constexpr int TextMargin = 1;   // pixels between the bevel and the text, each side
constexpr int EngagedBar = 3;   // width of the solid bar at the right of an engaged box
constexpr int EngagedShare = 3; // eighths of the highlight colour in the engaged fill
} // namespace

QColor EngagedFill(const QPalette& palette) {
    const QColor mark = palette.color(QPalette::Highlight);
    const QColor ground = palette.color(QPalette::Window);
    auto mix = [](int a, int b) { return (a * EngagedShare + b * (8 - EngagedShare)) / 8; };
    return QColor(mix(mark.red(), ground.red()), mix(mark.green(), ground.green()),
                  mix(mark.blue(), ground.blue()));
}

TStaticText::TStaticText(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setLineWidth(1);
    setMargin(TextMargin);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

int TStaticText::AutoWidth() const {
    return fontMetrics().horizontalAdvance(text()) + 2 * (frameWidth() + TextMargin);
}

void TStaticText::SetEditing(bool editing) {
    if (editing_ == editing)
        return;
    editing_ = editing;
    // The text colour follows the role QLabel draws with; the fill is drawn here, since the
    // background role a box inherits from its window is not the one a palette change reaches.
    setForegroundRole(editing ? QPalette::HighlightedText : QPalette::WindowText);
    update();
}

void TStaticText::SetEngaged(bool engaged) {
    if (engaged_ == engaged)
        return;
    engaged_ = engaged;
    update();
}

void TStaticText::SetFocusMark(bool marked) {
    if (focusMark_ == marked)
        return;
    focusMark_ = marked;
    update();
}

void TStaticText::paintEvent(QPaintEvent* event) {
    if (editing_ || engaged_) {
        QPainter painter(this);
        const QRect inside =
            frameRect().adjusted(frameWidth(), frameWidth(), -frameWidth(), -frameWidth());
        painter.fillRect(inside,
                         editing_ ? palette().color(QPalette::Highlight) : EngagedFill(palette()));
        if (engaged_) {
            const QColor bar =
                palette().color(editing_ ? QPalette::HighlightedText : QPalette::Highlight);
            // At the right, where a name box keeps free pixels, so no letter is covered.
            painter.fillRect(
                QRect(inside.right() - EngagedBar + 1, inside.top(), EngagedBar, inside.height()),
                bar);
        }
    }
    QLabel::paintEvent(event);
    if (focusMark_) {
        QPainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = contentsRect();
        option.backgroundColor = palette().color(QPalette::Window);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void TStaticText::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(this);
}

} // namespace padwright
