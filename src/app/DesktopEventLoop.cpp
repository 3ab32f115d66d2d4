#include "app/DesktopEventLoop.h"

#include <QCoreApplication>
#include <QDateTime>

namespace tavro {

void DesktopEventLoop::YieldOnce() {
    QCoreApplication::processEvents();
}

LocalTime SystemClock::Now() {
    const QDateTime now = QDateTime::currentDateTime();
    return LocalTime{.year = now.date().year(),
                     .month = now.date().month(),
                     .day = now.date().day(),
                     .hour = now.time().hour(),
                     .minute = now.time().minute(),
                     .second = now.time().second()};
}

}  // namespace tavro
