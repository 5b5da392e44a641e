#include "ui/StaticText.h"

#include <QMouseEvent>

namespace padwright {

namespace {
constexpr int TextMargin = 1; // pixels between the bevel and the text, each side
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

void TStaticText::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked(this);
}

} // namespace padwright
