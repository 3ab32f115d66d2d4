#pragma once

#include <QColor>
#include <QImage>

namespace tavro {

// The program's picture: a round badge with a "T". The tray shows it in the
// normal colour, and in the flash colour while a trigger fires; the desktop's
// application menu and the default picture of image triggers show it in the
// normal colour.
inline const QColor kBadgeNormalColour{0x2E, 0x6D, 0xB4};
inline const QColor kBadgeFlashColour{0xE0, 0x8A, 0x00};

// The badge drawn at size × size pixels on a transparent ground.
QImage DrawProgramBadge(int size, const QColor& fill);

}  // namespace tavro
