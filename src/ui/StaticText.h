#pragma once
// A static text box with a soft bevel, the building block of the settings panel rows and the
// editor's read-only fields. Name boxes are clickable and carry their row index as a tag.
#include <QLabel>

namespace padwright {

class TStaticText : public QLabel {
    Q_OBJECT
public:
    explicit TStaticText(QWidget* parent = nullptr);
    // The width the box takes when sized to its text.
    int AutoWidth() const;

    int Tag = 0;

signals:
    void clicked(TStaticText* sender);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace padwright
