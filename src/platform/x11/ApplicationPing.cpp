#include "platform/x11/ApplicationPing.h"

#include <X11/Xutil.h>

#include <algorithm>

namespace tavro::x11 {

ApplicationPing::ApplicationPing(const std::string& displayName)
    : connection_(displayName),
      wmProtocols_(XInternAtom(connection_.get(), "WM_PROTOCOLS", False)),
      netWmPing_(XInternAtom(connection_.get(), "_NET_WM_PING", False)) {
    // Answers go to the root window for the window manager and whoever
    // follows its children.
    XSelectInput(connection_.get(), connection_.Root(), SubstructureNotifyMask);
    XFlush(connection_.get());
}

bool ApplicationPing::PingFocusedApplication(std::chrono::milliseconds timeout) {
    Display* display = connection_.get();
    Window focus = 0;
    int revertTo = 0;
    XGetInputFocus(display, &focus, &revertTo);
    const Window window = focus == None || focus == PointerRoot ? 0 : FindPingableWindow(focus);
    if (window == 0) {
        return false;
    }
    XEvent ping{};
    ping.xclient.type = ClientMessage;
    ping.xclient.window = window;
    ping.xclient.message_type = wmProtocols_;
    ping.xclient.format = 32;
    ping.xclient.data.l[0] = static_cast<long>(netWmPing_);
    ping.xclient.data.l[1] = ++lastStamp_;
    ping.xclient.data.l[2] = static_cast<long>(window);
    XSendEvent(display, window, False, NoEventMask, &ping);
    XFlush(display);

    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            const XClientMessageEvent& answer = event.xclient;
            if (event.type == ClientMessage && answer.message_type == wmProtocols_ &&
                answer.data.l[0] == static_cast<long>(netWmPing_) &&
                answer.data.l[1] == lastStamp_) {
                return true;
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        connection_.WaitForInput(left);
    }
}

// The window itself or its nearest ancestor that lists _NET_WM_PING among
// its protocols; 0 when none does.
Window ApplicationPing::FindPingableWindow(Window window) {
    Display* display = connection_.get();
    while (window != 0 && window != connection_.Root()) {
        Atom* protocols = nullptr;
        int count = 0;
        if (XGetWMProtocols(display, window, &protocols, &count) != 0) {
            const bool pingable =
                std::find(protocols, protocols + count, netWmPing_) != protocols + count;
            XFree(protocols);
            if (pingable) {
                return window;
            }
        }
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int childCount = 0;
        if (XQueryTree(display, window, &root, &parent, &children, &childCount) == 0) {
            return 0;
        }
        if (children != nullptr) {
            XFree(children);
        }
        window = parent;
    }
    return 0;
}

}  // namespace tavro::x11
