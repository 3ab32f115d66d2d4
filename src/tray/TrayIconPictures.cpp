#include "tray/TrayIconPictures.h"

#include <QPixmap>

#include "editor/ProgramBadge.h"

namespace tavro {

namespace {

// The badge at the sizes trays ask for.
QIcon Badge(const QColor& fill) {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(DrawProgramBadge(size, fill)));
    }
    return icon;
}

}  // namespace

TrayIconPictures::TrayIconPictures()
    : normal_(Badge(kBadgeNormalColour)), flash_(Badge(kBadgeFlashColour)) {
    icon_.setIcon(normal_);
    icon_.setToolTip(QStringLiteral("Tavro!"));
}

void TrayIconPictures::ShowFlashIcon() {
    icon_.setIcon(flash_);
}

void TrayIconPictures::ShowNormalIcon() {
    icon_.setIcon(normal_);
}

}  // namespace tavro
