#include "app/SystemClock.h"

#include <QDateTime>

#include <chrono>

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

std::uint64_t SystemClock::GetTickCount64() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

}  // namespace tavro
