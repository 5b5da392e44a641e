#pragma once
// A drop-down list that accepts no typed text, as the windows use them: its pop-up is a list of
// a few entries that scrolls, no wider than its window, and a wheel over it changes nothing
// unless the user gave it the focus first.
#include <QComboBox>

namespace padwright {

class TDropDown : public QComboBox {
    Q_OBJECT
public:
    // Entries visible at once when the list is open.
    static constexpr int VisibleEntries = 8;

    explicit TDropDown(QWidget* parent = nullptr);
    void showPopup() override;

protected:
    void wheelEvent(QWheelEvent* event) override;
};

} // namespace padwright
