#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/record.h>

#include <chrono>
#include <deque>
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

    static void OnRecorded(XPointer hook, XRecordInterceptData* data);
    void Deliver();

    XConnection control_;
    XConnection recording_;
    X11Keymap keymap_;
    KeyEventTranslator translator_;
    XRecordContext context_ = 0;
    bool recordingEnded_ = false;
    KeyEventSink* sink_ = nullptr;
    std::deque<PendingEvent> pending_;
};

}  // namespace tavro::x11
