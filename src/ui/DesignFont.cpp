#include "ui/DesignFont.h"

#include "ui/common/MainLayout.h"

#include <QFontDatabase>
#include <QFontMetrics>

namespace padwright {

QFont DesignFont() {
    static const QFont font = [] {
        QFont f = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        f.setStyleHint(QFont::SansSerif);
        f.setPointSize(8);
        // Wider desktop fonts take their condensed width until the captions fit as designed.
        for (int stretch = QFont::Unstretched; stretch >= 70; stretch -= 5) {
            f.setStretch(stretch);
            if (QFontMetrics(f).horizontalAdvance(QString::fromLatin1(
                    layout::FontReferenceCaption)) <= layout::FontReferenceWidth)
                break;
        }
        return f;
    }();
    return font;
}

} // namespace padwright
