#include "tray/TrayIconPictures.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace tavro {

namespace {

// A round badge with a "T", drawn at the sizes trays ask for.
QIcon Badge(const QColor& fill) {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawEllipse(QRectF(0.5, 0.5, size - 1.0, size - 1.0));
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(size * 2 / 3);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("T"));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

void TrayIconPictures::Show() {
    if (icon_) {
        return;
    }
    normal_ = Badge(QColor(0x2E, 0x6D, 0xB4));
    flash_ = Badge(QColor(0xE0, 0x8A, 0x00));
    icon_ = std::make_unique<QSystemTrayIcon>(normal_);
    icon_->setToolTip(QStringLiteral("Tavro!"));
    icon_->show();
}

void TrayIconPictures::ShowFlashIcon() {
    if (icon_) {
        icon_->setIcon(flash_);
    }
}

void TrayIconPictures::ShowNormalIcon() {
    if (icon_) {
        icon_->setIcon(normal_);
    }
}

}  // namespace tavro
