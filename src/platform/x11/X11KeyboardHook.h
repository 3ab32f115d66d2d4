#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/record.h>
#include <xcb/xcb.h>

#include <bitset>
#include <deque>
#include <memory>
#include <optional>
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
//
// The key events the program's own injector sends are marked as its own: the
// recording also takes every client's XTEST requests, and the server makes a
// key event out of such a request while it handles it, so the event right
// after the injector's request for that key is the injector's (a request
// with a delay makes its event after other devices' events of the pause).
// Another client's XTEST keys (xdotool, a remote desktop) stay the user's.
// The same marks tell which keys something other than the injector holds
// down.
class X11KeyboardHook final : public KeyboardHook {
  public:
    // When the server begins to record: at Start, or at once, so that keys
    // typed while the program is still getting ready are kept for the sink
    // (delivered by the first ProcessPendingEvents() after Start).
    enum class Recording { FromStart, AtOnce };

    // "" records the display that $DISPLAY names. Throws std::runtime_error
    // when the display cannot be opened or has no RECORD extension.
    explicit X11KeyboardHook(const std::string& displayName = "",
                             Recording recording = Recording::FromStart);
    ~X11KeyboardHook() override;
    X11KeyboardHook(const X11KeyboardHook&) = delete;
    X11KeyboardHook& operator=(const X11KeyboardHook&) = delete;

    // Returns once the server records.
    void Start(KeyEventSink& sink) override;
    void Stop() override;

    // The key events this connection sends through XTEST are the program's
    // own from now on.
    void RecognizeInjectionsOf(Display* injector);

    int FileDescriptor() const { return recording_.FileDescriptor(); }
    void ProcessPendingEvents();
    void RequestRecordedEvents();
    // Reads what the server has sent so far without delivering it, for code
    // that sends keys while the event loop waits: the server drops recorded
    // events when a few hundred of them wait unread, and the key state below
    // follows what was read.
    void ReadRecordedEvents();

    // Whether something other than the injector pressed the key and nothing
    // has released it since, as far as the events read so far tell. (The
    // injector's own events not read yet may have released it: a release
    // of a key that is up makes no event.)
    bool HeldElsewhere(KeyCode keycode) const { return heldElsewhere_[keycode]; }

  private:
    // A key event as recorded, not yet translated.
    struct PendingEvent {
        bool down;
        KeyCode keycode;
        unsigned int state;
        KeyOrigin origin;
    };
    // A key event the injector asked for: press or release, keycode, and
    // whether the server makes it after a delay.
    struct Injection {
        int type;
        int keycode;
        bool delayed;
    };

    static void OnRecorded(XPointer hook, XRecordInterceptData* data);
    void OnRequest(const XRecordInterceptData& data);
    void OnDeviceEvent(const XRecordInterceptData& data);
    // Returns once the server records.
    void BeginRecording();
    // Reads the recording until the flag is set, for at most a second.
    void ReadRecordingUntil(const bool& flag);
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
    bool recordingStarted_ = false;
    bool recordingEnded_ = false;
    KeyEventSink* sink_ = nullptr;
    std::deque<PendingEvent> pending_;
    int xtestOpcode_ = 0;
    // The resource-ID base of the injector's connection; 0 for none.
    XID injectorClient_ = 0;
    // The injector's request recorded last, until its event (or, for one
    // without a delay, the next event).
    std::optional<Injection> injection_;
    std::bitset<256> heldElsewhere_;
};

}  // namespace tavro::x11
