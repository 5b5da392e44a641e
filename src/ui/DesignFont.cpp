#include "ui/DesignFont.h"

#include <QFontDatabase>
#include <QFontMetrics>

namespace padwright {

namespace {
// The window was laid out for a narrow 8-point font: its captions fill their boxes exactly. The
// longest of them, "Controllers Found:", has 88 pixels; 2 are kept free beside the list box.
constexpr int ReferenceWidth = 86;
const char* const ReferenceCaption = "Controllers Found:";
} // namespace

QFont DesignFont() {
    static const QFont font = [] {
        QFont f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        f.setStyleHint(QFont::SansSerif);
        f.setPointSize(8);
        // Wider desktop fonts take their condensed width until the captions fit as designed.
        for (int stretch = QFont::Unstretched; stretch >= 70; stretch -= 5) {
            f.setStretch(stretch);
            if (QFontMetrics(f).horizontalAdvance(QString::fromLatin1(ReferenceCaption)) <=
                ReferenceWidth)
                break;
        }
        return f;
    }();
    return font;
}

} // namespace padwright
