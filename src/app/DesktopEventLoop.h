#pragma once

#include "platform/EventLoop.h"

namespace tavro {

// The Qt event loop, yielded to once.
class DesktopEventLoop final : public EventLoop {
  public:
    void YieldOnce() override;
};

}  // namespace tavro
