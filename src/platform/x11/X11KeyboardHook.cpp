#include "platform/x11/X11KeyboardHook.h"

#include <X11/Xproto.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>

namespace tavro::x11 {

namespace {

constexpr std::chrono::milliseconds kStopTimeout{1000};
constexpr std::chrono::milliseconds kStopWait{25};

}  // namespace

void X11KeyboardHook::XcbDisconnect::operator()(xcb_connection_t* connection) const {
    xcb_disconnect(connection);
}

X11KeyboardHook::X11KeyboardHook(const std::string& displayName)
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
}

X11KeyboardHook::~X11KeyboardHook() {
    Stop();
}

void X11KeyboardHook::Start(KeyEventSink& sink) {
    sink_ = &sink;
    if (context_ != 0) {
        return;
    }
    XRecordRange* range = XRecordAllocRange();
    range->device_events.first = KeyPress;
    range->device_events.last = KeyRelease;
    XRecordClientSpec clients = XRecordAllClients;
    context_ = XRecordCreateContext(control_.get(), 0, &clients, 1, &range, 1);
    XFree(range);
    keysDown_ = control_.KeysDown();
    ownUnseen_.fill(0);
    recordingEnded_ = false;
    XRecordEnableContextAsync(recording_.get(), context_, &X11KeyboardHook::OnRecorded,
                              reinterpret_cast<XPointer>(this));
    XFlush(recording_.get());
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
    const auto deadline = std::chrono::steady_clock::now() + kStopTimeout;
    while (!recordingEnded_ && std::chrono::steady_clock::now() < deadline) {
        recording_.WaitForInput(kStopWait);
        XRecordProcessReplies(recording_.get());
    }
    XRecordFreeContext(control_.get(), context_);
    XSync(control_.get(), False);
    context_ = 0;
    pending_.clear();
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

void X11KeyboardHook::NoteOwnKeyEvent(KeyCode keycode) {
    ++ownUnseen_[keycode];
}

bool X11KeyboardHook::HeldElsewhere(KeyCode keycode) const {
    return keysDown_[keycode] && ownUnseen_[keycode] == 0;
}

void X11KeyboardHook::ForgetOwnKeyEvents() {
    ownUnseen_.fill(0);
}

void X11KeyboardHook::OnRecorded(XPointer hook, XRecordInterceptData* data) {
    auto& self = *reinterpret_cast<X11KeyboardHook*>(hook);
    if (data->category == XRecordFromServer && data->data_len * 4 >= sizeof(xEvent)) {
        const auto* event = reinterpret_cast<const xEvent*>(data->data);
        const int type = event->u.u.type & 0x7F;
        const KeyCode keycode = event->u.u.detail;
        if (type == KeyPress || type == KeyRelease) {
            self.keysDown_[keycode] = type == KeyPress;
            if (self.ownUnseen_[keycode] > 0) {
                --self.ownUnseen_[keycode];
            }
        }
        if (self.sink_ != nullptr && (type == KeyPress || type == KeyRelease)) {
            const bool down = type == KeyPress;
            self.pending_.push_back(
                {down, self.translator_.Translate(event->u.u.detail, down,
                                                  event->u.keyButtonPointer.state)});
        }
    } else if (data->category == XRecordEndOfData) {
        self.recordingEnded_ = true;
    }
    XRecordFreeData(data);
}

// Each event leaves the queue before the sink sees it, so a sink that comes
// back here through the event loop continues with the next one.
void X11KeyboardHook::Deliver() {
    while (!pending_.empty() && sink_ != nullptr) {
        const PendingEvent next = pending_.front();
        pending_.pop_front();
        if (next.down) {
            sink_->KeyDownHook(next.event);
        } else {
            sink_->KeyUpHook(next.event);
        }
    }
}

}  // namespace tavro::x11
