#pragma once

class QWidget;

namespace tavro {

// Moves the window, frame included, to the middle of the work area of the
// screen that holds the mouse pointer (where the user clicked the tray icon
// or typed), or of the primary screen.
void MoveToScreenCentre(QWidget& window);

}  // namespace tavro
