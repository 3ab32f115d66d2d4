#include "platform/x11/X11KeyboardHook.h"

#include <X11/Xproto.h>

#include <stdexcept>

namespace tavro::x11 {

namespace {

constexpr std::chrono::milliseconds kStopTimeout{1000};
constexpr int kXTestFakeInput = 2;  // X_XTestFakeInput
// In an XTestFakeInput request: the event type and the keycode.
constexpr std::size_t kRequestTypeOffset = 4;
constexpr std::size_t kRequestDetailOffset = 5;
constexpr std::size_t kFakeInputRequestBytes = 36;

}  // namespace

X11KeyboardHook::X11KeyboardHook(const std::string& displayName)
    : control_(displayName), recording_(displayName), keymap_(control_), translator_(keymap_) {
    int major = 0;
    int minor = 0;
    if (!XRecordQueryVersion(control_.get(), &major, &minor)) {
        throw std::runtime_error("the X server has no RECORD extension");
    }
    int eventBase = 0;
    int errorBase = 0;
    XQueryExtension(control_.get(), "XTEST", &xtestOpcode_, &eventBase, &errorBase);
}

X11KeyboardHook::~X11KeyboardHook() {
    Stop();
}

void X11KeyboardHook::Start(KeyEventSink& sink) {
    sink_ = &sink;
    if (context_ != 0) {
        return;
    }
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
    XSync(control_.get(), False);
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
        recording_.WaitForInput(kFlushPeriod);
        XRecordProcessReplies(recording_.get());
    }
    XRecordFreeContext(control_.get(), context_);
    XSync(control_.get(), False);
    context_ = 0;
    pending_.clear();
    injection_.reset();
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

void X11KeyboardHook::FlushRecordedEvents() {
    XSync(control_.get(), False);
    ProcessPendingEvents();
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
    injection_ = Injection{.type = data.data[kRequestTypeOffset] & 0x7F,
                           .keycode = data.data[kRequestDetailOffset]};
}

void X11KeyboardHook::OnDeviceEvent(const XRecordInterceptData& data) {
    const std::optional<Injection> injection = injection_;
    injection_.reset();
    if (data.data_len * 4 < sizeof(xEvent)) {
        return;
    }
    const auto* event = reinterpret_cast<const xEvent*>(data.data);
    const int type = event->u.u.type & 0x7F;
    if (sink_ == nullptr || (type != KeyPress && type != KeyRelease)) {
        return;
    }
    const bool down = type == KeyPress;
    KeyEvent translated =
        translator_.Translate(event->u.u.detail, down, event->u.keyButtonPointer.state);
    if (injection && injection->type == type && injection->keycode == event->u.u.detail) {
        translated.origin = KeyOrigin::Own;
    }
    pending_.push_back({down, translated});
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
