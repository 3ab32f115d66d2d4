#pragma once

namespace tavro {

// The program's one event loop.
class EventLoop {
  public:
    virtual ~EventLoop() = default;
    // Runs the events that are waiting, once, and returns.
    virtual void YieldOnce() = 0;
};

}  // namespace tavro
