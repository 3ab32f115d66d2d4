#include "editor/DefaultPicture.h"

#include <QFont>
#include <QPainter>

#include "editor/ProgramBadge.h"

namespace tavro {

namespace {

constexpr int kWidth = 225;
constexpr int kHeight = 75;
constexpr int kBadgeSize = 45;
constexpr int kMargin = 15;

}  // namespace

QImage DrawDefaultPicture() {
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    picture.fill(QColor(0xF3, 0xF7, 0xFC));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    // A dashed frame: a place to fill in.
    QPen frame(kBadgeNormalColour, 2, Qt::DashLine);
    painter.setPen(frame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(3, 3, kWidth - 6, kHeight - 6), 8, 8);

    painter.drawImage(kMargin, (kHeight - kBadgeSize) / 2,
                      DrawProgramBadge(kBadgeSize, kBadgeNormalColour));

    const int textLeft = kMargin + kBadgeSize + 12;
    const int textWidth = kWidth - textLeft - kMargin + 6;
    QFont title = painter.font();
    title.setBold(true);
    title.setPixelSize(18);
    painter.setFont(title);
    painter.setPen(kBadgeNormalColour.darker(125));
    painter.drawText(QRect(textLeft, 14, textWidth, 26), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Your picture"));
    QFont hint = painter.font();
    hint.setBold(false);
    hint.setPixelSize(12);
    painter.setFont(hint);
    painter.setPen(QColor(0x55, 0x60, 0x6E));
    painter.drawText(QRect(textLeft, 41, textWidth, 18), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Edit Image to draw it"));
    painter.end();
    return picture;
}

}  // namespace tavro
