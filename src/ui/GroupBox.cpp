#include "ui/GroupBox.h"

#include <QPainter>
#include <QStyle>
#include <qdrawutil.h>

namespace padwright {

namespace {
constexpr int CaptionPadding = 2; // blank on each side of the caption, breaking the frame line
}

TGroupBox::TGroupBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

QRect TGroupBox::CaptionRect() const {
    const QFontMetrics metrics(font());
    return {CaptionIndent, 0, metrics.horizontalAdvance(title()) + 2 * CaptionPadding,
            metrics.height()};
}

void TGroupBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect caption = CaptionRect();
    // An etched line in the palette's shades: the default style's frame is a faint image that
    // all but vanishes on the button-face background of the window.
    qDrawShadeRect(&painter, rect().adjusted(0, caption.height() / 2, 0, 0), palette(), true, 1, 0);
    painter.fillRect(caption, palette().brush(backgroundRole()));
    style()->drawItemText(&painter, caption, Qt::AlignCenter | Qt::TextShowMnemonic, palette(),
                          isEnabled(), title(), QPalette::WindowText);
}

} // namespace padwright
