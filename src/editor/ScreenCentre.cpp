#include "editor/ScreenCentre.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace tavro {

void MoveToScreenCentre(QWidget& window) {
    const QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    // Right after leaving the minimised state, Qt may give the frame as one
    // pixel (the window manager's frame not known again yet): the window's
    // own size is near enough then.
    const QSize size = window.frameGeometry().size().expandedTo(window.size());
    window.move(area.x() + (area.width() - size.width()) / 2,
                area.y() + (area.height() - size.height()) / 2);
}

}  // namespace tavro
