#include "platform/x11/X11KeyboardHook.h"

#include <X11/Xproto.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>

namespace tavro::x11 {

namespace {

constexpr std::chrono::milliseconds kReplyTimeout{1000};
constexpr std::chrono::milliseconds kReplyWait{25};
constexpr int kXTestFakeInput = 2;  // X_XTestFakeInput
// In an XTestFakeInput request: the event type, the keycode and the delay.
constexpr std::size_t kRequestTypeOffset = 4;
constexpr std::size_t kRequestDetailOffset = 5;
constexpr std::size_t kRequestDelayOffset = 8;
constexpr std::size_t kFakeInputRequestBytes = 36;

}  // namespace

void X11KeyboardHook::XcbDisconnect::operator()(xcb_connection_t* connection) const {
    xcb_disconnect(connection);
}

X11KeyboardHook::X11KeyboardHook(const std::string& displayName, Recording recording)
    : control_(displayName),
      recording_(displayName),
      flusher_(xcb_connect(displayName.empty() ? nullptr : displayName.c_str(), nullptr)),
      keymap_(control_),
      translator_(keymap_) {
    int major = 0;
    int minor = 0;
    if (!XRecordQueryVersion(control_.get(), &major, &minor)) {
        throw std::runtime_error("the X server has no RECORD extension");
    }
    int eventBase = 0;
    int errorBase = 0;
    XQueryExtension(control_.get(), "XTEST", &xtestOpcode_, &eventBase, &errorBase);
    if (recording == Recording::AtOnce) {
        BeginRecording();
    }
}

X11KeyboardHook::~X11KeyboardHook() {
    Stop();
}

void X11KeyboardHook::Start(KeyEventSink& sink) {
    sink_ = &sink;
    if (context_ == 0) {
        BeginRecording();
    }
}

void X11KeyboardHook::BeginRecording() {
    // Key events, and every client's XTEST fake input.
    XRecordRange* ranges[] = {XRecordAllocRange(), XRecordAllocRange()};
    ranges[0]->device_events = {KeyPress, KeyRelease};
    const auto xtest = static_cast<unsigned char>(xtestOpcode_);
    ranges[1]->ext_requests.ext_major = {xtest, xtest};
    ranges[1]->ext_requests.ext_minor = {kXTestFakeInput, kXTestFakeInput};
    const int rangeCount = xtestOpcode_ != 0 ? 2 : 1;
    XRecordClientSpec clients = XRecordAllClients;
    context_ = XRecordCreateContext(control_.get(), 0, &clients, 1, ranges, rangeCount);
    for (XRecordRange* range : ranges) {
        XFree(range);
    }
    // Keys down before the recording starts are someone else's.
    heldElsewhere_ = control_.KeysDown();
    recordingStarted_ = false;
    recordingEnded_ = false;
    XRecordEnableContextAsync(recording_.get(), context_, &X11KeyboardHook::OnRecorded,
                              reinterpret_cast<XPointer>(this));
    XFlush(recording_.get());
    // Keys typed from now on are recorded once the server says so.
    ReadRecordingUntil(recordingStarted_);
}

void X11KeyboardHook::Stop() {
    sink_ = nullptr;
    pending_.clear();
    if (context_ == 0) {
        return;
    }
    XRecordDisableContext(control_.get(), context_);
    XSync(control_.get(), False);
    // The recording connection closes with an end-of-data reply.
    ReadRecordingUntil(recordingEnded_);
    XRecordFreeContext(control_.get(), context_);
    XSync(control_.get(), False);
    context_ = 0;
    pending_.clear();
    injection_.reset();
}

void X11KeyboardHook::ReadRecordingUntil(const bool& flag) {
    const auto deadline = std::chrono::steady_clock::now() + kReplyTimeout;
    while (!flag && std::chrono::steady_clock::now() < deadline) {
        recording_.WaitForInput(kReplyWait);
        XRecordProcessReplies(recording_.get());
    }
}

void X11KeyboardHook::RecognizeInjectionsOf(Display* injector) {
    // The default graphics context is a resource the connection made when
    // it opened: its ID carries the connection's base.
    injectorClient_ =
        XGContextFromGC(DefaultGC(injector, DefaultScreen(injector))) & XRecordIdBaseMask(injector);
}

void X11KeyboardHook::ProcessPendingEvents() {
    ReadRecordedEvents();
    Deliver();
}

// A request with a reply makes the server flush its output, the recording
// included; the reply is dropped when the next one is asked for.
void X11KeyboardHook::RequestRecordedEvents() {
    std::free(xcb_poll_for_event(flusher_.get()));
    xcb_discard_reply(flusher_.get(), xcb_get_input_focus(flusher_.get()).sequence);
    xcb_flush(flusher_.get());
}

void X11KeyboardHook::ReadRecordedEvents() {
    if (context_ != 0) {
        XRecordProcessReplies(recording_.get());
    }
}

void X11KeyboardHook::OnRecorded(XPointer hook, XRecordInterceptData* data) {
    auto& self = *reinterpret_cast<X11KeyboardHook*>(hook);
    if (data->category == XRecordFromClient) {
        self.OnRequest(*data);
    } else if (data->category == XRecordFromServer) {
        self.OnDeviceEvent(*data);
    } else if (data->category == XRecordStartOfData) {
        self.recordingStarted_ = true;
    } else if (data->category == XRecordEndOfData) {
        self.recordingEnded_ = true;
    }
    XRecordFreeData(data);
}

// An XTEST request of the injector announces the event the server makes of
// it next; any other client's request ends that.
void X11KeyboardHook::OnRequest(const XRecordInterceptData& data) {
    injection_.reset();
    if (injectorClient_ == 0 || data.id_base != injectorClient_ ||
        data.data_len * 4 < kFakeInputRequestBytes) {
        return;
    }
    const unsigned char* delay = data.data + kRequestDelayOffset;
    injection_ = Injection{.type = data.data[kRequestTypeOffset] & 0x7F,
                           .keycode = data.data[kRequestDetailOffset],
                           .delayed = (delay[0] | delay[1] | delay[2] | delay[3]) != 0};
}

// Also follows which keys are held by others than the injector: their
// presses hold a key, anyone's release lets it go.
void X11KeyboardHook::OnDeviceEvent(const XRecordInterceptData& data) {
    if (data.data_len * 4 < sizeof(xEvent)) {
        return;
    }
    const auto* event = reinterpret_cast<const xEvent*>(data.data);
    const int type = event->u.u.type & 0x7F;
    if (type != KeyPress && type != KeyRelease) {
        return;
    }
    const KeyCode keycode = event->u.u.detail;
    const bool own = injection_ && injection_->type == type && injection_->keycode == keycode;
    if (own || (injection_ && !injection_->delayed)) {
        injection_.reset();
    }
    const bool down = type == KeyPress;
    if (!down) {
        heldElsewhere_[keycode] = false;
    } else if (!own) {
        heldElsewhere_[keycode] = true;
    }
    if (context_ != 0) {
        pending_.push_back({.down = down,
                            .keycode = keycode,
                            .state = event->u.keyButtonPointer.state,
                            .origin = own ? KeyOrigin::Own : KeyOrigin::User});
    }
}

// Each event leaves the queue before the sink sees it, so a sink that comes
// back here through the event loop continues with the next one. Events are
// translated here, not as they are read: the keymap may have to be fetched
// anew, and events are also read while the injector has the server grabbed.
// The injector's keys on a keycode bound to nothing (its spacer) typed
// nothing and are not passed on.
void X11KeyboardHook::Deliver() {
    while (!pending_.empty() && sink_ != nullptr) {
        const PendingEvent next = pending_.front();
        pending_.pop_front();
        if (next.origin == KeyOrigin::Own && !keymap_.Binds(next.keycode)) {
            continue;
        }
        KeyEvent event = translator_.Translate(next.keycode, next.down, next.state);
        event.origin = next.origin;
        if (next.down) {
            sink_->KeyDownHook(event);
        } else {
            sink_->KeyUpHook(event);
        }
    }
}

}  // namespace tavro::x11
