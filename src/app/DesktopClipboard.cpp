#include "app/DesktopClipboard.h"

#include <xcb/xcb.h>
#include <xcb/xcbext.h>
#include <QClipboard>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <QSocketNotifier>
#include <QTimer>

#include <sys/uio.h>

#include <cstdlib>
#include <memory>

#include "editor/RichTextMimeData.h"
#include "text/LineEnds.h"

namespace tavro {

namespace {

constexpr qint64 kPasteTimeoutMilliseconds = 1000;
constexpr int kWakeMilliseconds = 10;

xcb_connection_t* QtConnection() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

// Whether two windows were made by the same X client.
bool SameClient(std::uint32_t window, std::uint32_t other, std::uint32_t resourceMask) {
    return ((window ^ other) & ~resourceMask) == 0;
}

// The process of the X client that made the window, as the X-Resource
// extension tells (its QueryClientIds request); 0 when unknown.
std::uint32_t ProcessOf(xcb_connection_t* connection, std::uint32_t window) {
    static xcb_extension_t resource{"X-Resource", 0};
    constexpr std::uint8_t kQueryClientIds = 4;
    constexpr std::uint32_t kLocalClientPid = 2;
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &resource);
    if (extension == nullptr || extension->present == 0) {
        return 0;
    }
    // The header (filled in by xcb), one spec: the client, what to tell.
    std::uint32_t body[4] = {0, 1, window, kLocalClientPid};
    iovec parts[4] = {{}, {}, {body, sizeof(body)}, {nullptr, 0}};
    const xcb_protocol_request_t request{2, &resource, kQueryClientIds, 0};
    const unsigned int sequence =
        xcb_send_request(connection, XCB_REQUEST_CHECKED, parts + 2, &request);
    xcb_generic_error_t* error = nullptr;
    std::unique_ptr<std::uint32_t, decltype(&std::free)> reply(
        static_cast<std::uint32_t*>(xcb_wait_for_reply(connection, sequence, &error)), &std::free);
    std::free(error);
    // Reply: header (8 bytes), count of ids, 20 bytes unused, then per id its
    // spec (client, mask), its length in bytes and its value.
    if (!reply || reply.get()[2] == 0 || reply.get()[10] != 4) {
        return 0;
    }
    return reply.get()[11];
}

// Clipboard content that notes when the window in front asks for it.
class WatchedMimeData final : public RichTextMimeData {
  public:
    WatchedMimeData(std::shared_ptr<bool> taken, std::function<bool()> askedByWindowInFront)
        : taken_(std::move(taken)), askedByWindowInFront_(std::move(askedByWindowInFront)) {}

  protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override {
        if (askedByWindowInFront_()) {
            *taken_ = true;
        }
        return RichTextMimeData::retrieveData(mimeType, type);
    }

  private:
    std::shared_ptr<bool> taken_;
    std::function<bool()> askedByWindowInFront_;
};

}  // namespace

DesktopClipboard::DesktopClipboard(std::function<QImage()> triggerPicture,
                                   std::function<WindowHandle()> windowInFront,
                                   QSocketNotifier& keyEvents)
    : triggerPicture_(std::move(triggerPicture)),
      windowInFront_(std::move(windowInFront)),
      keyEvents_(keyEvents) {
    QCoreApplication::instance()->installNativeEventFilter(this);
    clearLater_.setSingleShot(true);
    clearLater_.setInterval(0);
    QObject::connect(&clearLater_, &QTimer::timeout, [] { QGuiApplication::clipboard()->clear(); });
}

DesktopClipboard::~DesktopClipboard() {
    QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool DesktopClipboard::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType == "xcb_generic_event_t") {
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7F) == XCB_SELECTION_REQUEST) {
            requestor_ = static_cast<const xcb_selection_request_event_t*>(message)->requestor;
        }
    }
    return false;
}

void DesktopClipboard::Offer(const std::function<void(RichTextMimeData&)>& fill) {
    AwaitPendingPaste();
    clearLater_.stop();
    taken_ = std::make_shared<bool>(false);
    offered_.start();
    // Clipboard managers and other programs may ask too: only a window of
    // the application in front is the paste, made by the same X client, or
    // by the same process (LibreOffice has a connection of its own for the
    // clipboard).
    auto* data = new WatchedMimeData(taken_, [this] {
        xcb_connection_t* connection = QtConnection();
        const WindowHandle inFront = windowInFront_();
        if (connection == nullptr || inFront == 0) {
            return false;
        }
        if (SameClient(requestor_, inFront, xcb_get_setup(connection)->resource_id_mask)) {
            return true;
        }
        const std::uint32_t process = ProcessOf(connection, inFront);
        return process != 0 && process == ProcessOf(connection, requestor_);
    });
    fill(*data);
    QGuiApplication::clipboard()->setMimeData(data);
}
// A slow application (LibreOffice) may fetch a paste after the next trigger
// has fired: its content stays on the clipboard until then.
void DesktopClipboard::AwaitPendingPaste() {
    if (!*taken_) {
        AwaitPaste();
    }
}

void DesktopClipboard::Clear() {
    AwaitPendingPaste();
    clearLater_.start();
}

// Text on the X11 clipboard has LF line ends (typed, a CR is an Enter).
void DesktopClipboard::SetText(const std::u16string& text) {
    Offer([&](RichTextMimeData& data) {
        data.setText(QString::fromStdU16String(WithLineFeeds(text)));
    });
}

void DesktopClipboard::SetRichText(const std::string& rtf) {
    Offer([&](RichTextMimeData& data) { data.SetRichText(rtf); });
}

void DesktopClipboard::SetTriggerPicture() {
    const QImage picture = triggerPicture_();
    Offer([&](RichTextMimeData& data) { data.setImageData(picture); });
}

void DesktopClipboard::AwaitPaste() {
    const bool takingKeys = keyEvents_.isEnabled();
    keyEvents_.setEnabled(false);
    QTimer wake;
    wake.start(kWakeMilliseconds);
    while (!*taken_ && offered_.isValid() && offered_.elapsed() < kPasteTimeoutMilliseconds) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents |
                                        QEventLoop::ExcludeUserInputEvents);
    }
    keyEvents_.setEnabled(takingKeys);
    *taken_ = true;  // taken or given up: nothing to wait for any more
    // The answer to the application is queued on Qt's own connection: have
    // the X server handle it before any key that is sent next.
    if (xcb_connection_t* connection = QtConnection()) {
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    }
}

}  // namespace tavro
