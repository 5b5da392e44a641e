#pragma once
// Keeps a fixed-size window on the screen it opens on: its designed position may put part of it
// beyond the edge of a small or scaled screen, where no border can be dragged to get it back.
class QWidget;

namespace padwright {

// Moves the top-level `window` into its screen's available area (the top to the area's top when
// it cannot fit). Nothing on Wayland, where clients do not place their windows.
void KeepOnScreen(QWidget& window);

} // namespace padwright
