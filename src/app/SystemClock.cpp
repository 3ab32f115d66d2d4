#include "app/SystemClock.h"

#include <QDateTime>

namespace tavro {

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
