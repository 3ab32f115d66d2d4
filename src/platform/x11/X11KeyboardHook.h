#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/record.h>
#include <xcb/xcb.h>

#include <array>
#include <bitset>
#include <deque>
#include <memory>
#include <string>

#include "platform/KeyboardHook.h"
#include "platform/x11/KeyEventTranslator.h"
#include "platform/x11/X11Keymap.h"
#include "platform/x11/XConnection.h"

namespace tavro::x11 {

// Every key press and release on the X display, observed through the RECORD
// extension and never swallowed. The recording has a connection of its own;
// the program's event loop watches FileDescriptor() and calls
// ProcessPendingEvents() when it is readable.
//
// The server sends what it recorded whenever it flushes output to any
// client: keys that reach an application (from the keyboard, from other
// XTEST clients and from our own injector alike) are sent along with that
// application's events, at once. Keys that reach no client (typed while the
// focus is on a window that takes no keys) wait for the next output to
// anyone; RequestRecordedEvents() makes some without waiting for it, for an
// occasional timer to call.
//
// Events reach the sink from ProcessPendingEvents() only, in order; a sink
// that runs the event loop again meanwhile receives the later events there.
class X11KeyboardHook final : public KeyboardHook {
  public:
    // "" records the display that $DISPLAY names. Throws std::runtime_error
    // when the display cannot be opened or has no RECORD extension.
    explicit X11KeyboardHook(const std::string& displayName = "");
    ~X11KeyboardHook() override;
    X11KeyboardHook(const X11KeyboardHook&) = delete;
    X11KeyboardHook& operator=(const X11KeyboardHook&) = delete;

    void Start(KeyEventSink& sink) override;
    void Stop() override;

    int FileDescriptor() const { return recording_.FileDescriptor(); }
    void ProcessPendingEvents();
    void RequestRecordedEvents();
    // Reads what the server has sent so far without delivering it, for code
    // that sends keys while the event loop waits: the server drops recorded
    // events when a few hundred of them wait unread, and the key state below
    // follows what was read.
    void ReadRecordedEvents();

    // Our own key events, sent and not yet seen recorded: until they are,
    // the recorded state of their keys is older than what we did to them.
    void NoteOwnKeyEvent(KeyCode keycode);
    // Whether a key is down by something other than our own key events, as
    // far as the events read so far tell.
    bool HeldElsewhere(KeyCode keycode) const;
    // Forgets own key events not seen recorded (the server may drop some).
    void ForgetOwnKeyEvents();

  private:
    struct PendingEvent {
        bool down;
        KeyEvent event;
    };

    static void OnRecorded(XPointer hook, XRecordInterceptData* data);
    void Deliver();

    struct XcbDisconnect {
        void operator()(xcb_connection_t* connection) const;
    };

    XConnection control_;
    XConnection recording_;
    // Asks for output without waiting for it.
    std::unique_ptr<xcb_connection_t, XcbDisconnect> flusher_;
    X11Keymap keymap_;
    KeyEventTranslator translator_;
    XRecordContext context_ = 0;
    bool recordingEnded_ = false;
    KeyEventSink* sink_ = nullptr;
    std::deque<PendingEvent> pending_;
    std::bitset<256> keysDown_;
    std::array<int, 256> ownUnseen_{};
};

}  // namespace tavro::x11
