#include "platform/x11/XConnection.h"

#include <poll.h>

#include <algorithm>
#include <stdexcept>

namespace tavro::x11 {

namespace {

int IgnoreError(Display*, XErrorEvent*) {
    return 0;
}

}  // namespace

XConnection::XConnection(const std::string& displayName)
    : display_(XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str())) {
    if (display_ == nullptr) {
        throw std::runtime_error("cannot open the X display " +
                                 std::string(XDisplayName(displayName.c_str())));
    }
    XSetErrorHandler(IgnoreError);
}

XConnection::~XConnection() {
    XCloseDisplay(display_);
}

void XConnection::ProcessPendingEvents() {
    Dispatch(QueuedAfterFlush);
}

void XConnection::ProcessReceivedEvents() {
    Dispatch(QueuedAfterReading);
}

void XConnection::ProcessRecentEvents() {
    const bool due = std::chrono::steady_clock::now() - lastRead_ >= kReadInterval;
    Dispatch(due ? QueuedAfterReading : QueuedAlready);
}

void XConnection::Dispatch(int queuedMode) {
    if (dispatching_) {
        return;
    }
    dispatching_ = true;
    if (queuedMode != QueuedAlready) {
        lastRead_ = std::chrono::steady_clock::now();
    }
    while (XEventsQueued(display_, queuedMode) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        for (XEventListener* listener : listeners_) {
            listener->OnXEvent(event);
        }
    }
    dispatching_ = false;
}

void XConnection::WaitForInput(std::chrono::milliseconds timeout) const {
    if (XPending(display_) > 0) {
        return;
    }
    pollfd descriptor{.fd = FileDescriptor(), .events = POLLIN, .revents = 0};
    poll(&descriptor, 1, static_cast<int>(timeout.count()));
}

std::bitset<256> XConnection::KeysDown() const {
    char keys[32] = {};
    XQueryKeymap(display_, keys);
    std::bitset<256> down;
    for (std::size_t keycode = 0; keycode < down.size(); ++keycode) {
        down[keycode] = (keys[keycode / 8] & (1 << (keycode % 8))) != 0;
    }
    return down;
}

void XConnection::AddListener(XEventListener& listener) {
    listeners_.push_back(&listener);
}

void XConnection::RemoveListener(XEventListener& listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), &listener),
                     listeners_.end());
}

}  // namespace tavro::x11
