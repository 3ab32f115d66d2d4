#pragma once

#include "platform/Clock.h"

namespace tavro {

// The local date and time.
class SystemClock final : public Clock {
  public:
    LocalTime Now() override;
    std::uint64_t GetTickCount64() override;
};

}  // namespace tavro
