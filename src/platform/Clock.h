#pragma once

#include <cstdint>

namespace tavro {

// A local date and time; month 1 to 12, hour 0 to 23.
struct LocalTime {
    int year = 0;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalTime Now() = 0;
    // Milliseconds since some fixed moment; never goes back.
    virtual std::uint64_t GetTickCount64() = 0;
};

}  // namespace tavro
