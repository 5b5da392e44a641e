#pragma once
// A group of controls under a caption drawn on the frame's top line, indented from the corner,
// the way the window was designed: the default style puts the caption flush at the left edge,
// where the window's border cuts its first letter.
#include <QGroupBox>

namespace padwright {

class TGroupBox : public QGroupBox {
    Q_OBJECT
public:
    // Pixels from the group's left edge to the caption's background.
    static constexpr int CaptionIndent = 6;

    explicit TGroupBox(const QString& caption, QWidget* parent = nullptr);
    // Where the caption and the blank around it are drawn.
    QRect CaptionRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace padwright
