#pragma once

#include <X11/Xlib.h>

#include <bitset>
#include <chrono>
#include <string>
#include <vector>

namespace tavro::x11 {

// Something that wants the events a connection receives.
class XEventListener {
  public:
    virtual void OnXEvent(const XEvent& event) = 0;

  protected:
    ~XEventListener() = default;
};

// One connection to the X server, closed with the object. Requests about
// windows that went away meanwhile fail quietly: the process's Xlib error
// handler ignores errors instead of ending the program.
class XConnection {
  public:
    static constexpr std::chrono::microseconds kReadInterval{1000};

    // "" opens the display that $DISPLAY names. Throws std::runtime_error
    // when the display cannot be opened.
    explicit XConnection(const std::string& displayName = "");
    ~XConnection();
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    Display* get() const { return display_; }
    Window Root() const { return DefaultRootWindow(display_); }
    // The socket to watch for readability in the program's event loop.
    int FileDescriptor() const { return ConnectionNumber(display_); }

    // Sends the requests written so far, reads what the server has sent,
    // without waiting, and hands every event to the listeners. Does nothing
    // when called again from a listener.
    void ProcessPendingEvents();
    // The same without sending: for what is asked once per key typed (the
    // window in front), while the requests of a delivery's key events wait
    // in the buffer to go out together.
    void ProcessReceivedEvents();
    // The same for what is asked many times per key (the keymap, the
    // caption and process of the window in front): reading the socket is a
    // system call, so within kReadInterval of the last read only the events
    // read already are handed on.
    void ProcessRecentEvents();
    // Waits until the server has sent something or the timeout has passed.
    void WaitForInput(std::chrono::milliseconds timeout) const;
    // The keycodes of the keys down now, as the server has them.
    std::bitset<256> KeysDown() const;

    void AddListener(XEventListener& listener);
    void RemoveListener(XEventListener& listener);

  private:
    void Dispatch(int queuedMode);

    Display* display_;
    std::chrono::steady_clock::time_point lastRead_{};
    std::vector<XEventListener*> listeners_;
    bool dispatching_ = false;
};

}  // namespace tavro::x11
