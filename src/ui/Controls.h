#pragma once
// The windows' plain controls, made the one way both windows make them: a place, a caption and a
// hint on hover.
#include <QRect>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QWidget;

namespace padwright {

// A caption to the left of or above a field, aligned to its top left corner.
QLabel* Caption(QWidget* parent, const char* text, QRect place);
// A button that takes Enter while focused, as a default button would.
QPushButton* Button(QWidget* parent, const char* text, QRect place, const char* hint = nullptr);
// A drop-down list (TDropDown) that takes no typed text.
QComboBox* List(QWidget* parent, QRect place, const char* hint);
QCheckBox* Check(QWidget* parent, const char* text, QRect place, const char* hint);

} // namespace padwright
