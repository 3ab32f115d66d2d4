#pragma once

#include "platform/Clock.h"
#include "platform/EventLoop.h"

namespace tavro {

// The Qt event loop, yielded to once.
class DesktopEventLoop final : public EventLoop {
  public:
    void YieldOnce() override;
};

// The local date and time.
class SystemClock final : public Clock {
  public:
    LocalTime Now() override;
};

}  // namespace tavro
