#pragma once
#include <QFont>

namespace padwright {

// The font the windows are laid out for: the desktop's sans font at 8 points.
QFont DesignFont();

} // namespace padwright
