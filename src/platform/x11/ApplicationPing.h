#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <string>

#include "platform/x11/XConnection.h"

namespace tavro::x11 {

// Finds out whether the application with the keyboard focus has handled
// every event sent to it so far: it is asked with _NET_WM_PING, which
// applications answer as they come to it among their events. The answer
// comes back on a connection of this object's own.
class ApplicationPing {
  public:
    explicit ApplicationPing(const std::string& displayName);

    // Pings the focused application, when it takes pings, and waits for its
    // answer at most `timeout`; whether it answered. Events sent on another
    // connection count only once the server has handled them (XSync).
    bool PingFocusedApplication(std::chrono::milliseconds timeout);

  private:
    Window FindPingableWindow(Window window);

    XConnection connection_;
    Atom wmProtocols_;
    Atom netWmPing_;
    long lastStamp_ = 0;
};

}  // namespace tavro::x11
