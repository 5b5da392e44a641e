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

    // Filled with the highlight colours while its row is being edited.
    void SetEditing(bool editing);
    bool Editing() const { return editing_; }
    // Marked while the control it names is engaged; the mark stays visible under the editing
    // highlight, so the editor's own row can still be found by moving the control.
    void SetEngaged(bool engaged);
    bool Engaged() const { return engaged_; }

    // The keyboard's mark: the row Enter or Space opens while the panel has the focus.
    void SetFocusMark(bool marked);
    bool FocusMark() const { return focusMark_; }

    int Tag = 0;

signals:
    void clicked(TStaticText* sender);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool editing_ = false;
    bool engaged_ = false;
    bool focusMark_ = false;
};

// The fill of an engaged box: the highlight colour faded into the window colour, so it follows
// the theme (light or dark) and is never mistaken for the full editing highlight.
QColor EngagedFill(const QPalette& palette);

} // namespace padwright
