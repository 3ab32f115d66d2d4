#include "app/DesktopEventLoop.h"

#include <QCoreApplication>

namespace tavro {

void DesktopEventLoop::YieldOnce() {
    QCoreApplication::processEvents();
}

}  // namespace tavro
