#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/record.h>

#include <chrono>
#include <deque>
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
// ProcessPendingEvents() when it is readable, and calls FlushRecordedEvents()
// every kFlushPeriod: the server sends recorded events only when it flushes
// output to some client, which an idle desktop may not do for seconds.
// Events reach the sink from ProcessPendingEvents() only, in order; a sink
// that runs the event loop again meanwhile receives the later events there.
//
// The key events the program's own injector sends are marked as its own: the
// recording also takes every client's XTEST requests, and the server makes a
// key event out of such a request while it handles it, so the event right
// after the injector's request for that key is the injector's. Another
// client's XTEST keys (xdotool, a remote desktop) stay the user's.
class X11KeyboardHook final : public KeyboardHook {
  public:
    static constexpr std::chrono::milliseconds kFlushPeriod{25};

    // "" records the display that $DISPLAY names. Throws std::runtime_error
    // when the display cannot be opened or has no RECORD extension.
    explicit X11KeyboardHook(const std::string& displayName = "");
    ~X11KeyboardHook() override;
    X11KeyboardHook(const X11KeyboardHook&) = delete;
    X11KeyboardHook& operator=(const X11KeyboardHook&) = delete;

    void Start(KeyEventSink& sink) override;
    void Stop() override;

    // The key events this connection sends through XTEST are the program's
    // own from now on.
    void RecognizeInjectionsOf(Display* injector);

    int FileDescriptor() const { return recording_.FileDescriptor(); }
    void ProcessPendingEvents();
    // Also delivers what ReadRecordedEvents() has read.
    void FlushRecordedEvents();
    // Reads what the server has recorded so far without delivering it, for
    // code that sends many keys while the event loop waits: the server drops
    // recorded events when a few hundred of them wait unread.
    void ReadRecordedEvents();

  private:
    struct PendingEvent {
        bool down;
        KeyEvent event;
    };
    // A key event the injector asked for: press or release, and keycode.
    struct Injection {
        int type;
        int keycode;
    };

    static void OnRecorded(XPointer hook, XRecordInterceptData* data);
    void OnRequest(const XRecordInterceptData& data);
    void OnDeviceEvent(const XRecordInterceptData& data);
    void Deliver();

    XConnection control_;
    XConnection recording_;
    X11Keymap keymap_;
    KeyEventTranslator translator_;
    XRecordContext context_ = 0;
    bool recordingEnded_ = false;
    KeyEventSink* sink_ = nullptr;
    std::deque<PendingEvent> pending_;
    int xtestOpcode_ = 0;
    // The resource-ID base of the injector's connection; 0 for none.
    XID injectorClient_ = 0;
    // The injector's request recorded last, until the next event.
    std::optional<Injection> injection_;
};

}  // namespace tavro::x11
