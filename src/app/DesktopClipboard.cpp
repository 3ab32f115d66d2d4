#include "app/DesktopClipboard.h"

#include <xcb/xcb.h>
#include <QClipboard>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdlib>

#include "editor/RichTextMimeTypes.h"

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

// Clipboard content that notes when the window in front asks for it.
class WatchedMimeData final : public QMimeData {
  public:
    WatchedMimeData(std::shared_ptr<bool> taken, std::function<bool()> askedByWindowInFront)
        : taken_(std::move(taken)), askedByWindowInFront_(std::move(askedByWindowInFront)) {}

  protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override {
        if (askedByWindowInFront_()) {
            *taken_ = true;
        }
        return QMimeData::retrieveData(mimeType, type);
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

void DesktopClipboard::Offer(const std::function<void(QMimeData&)>& fill) {
    taken_ = std::make_shared<bool>(false);
    // Clipboard managers and other programs may ask too: only a window of
    // the application in front (made by the same X client) is the paste.
    auto* data = new WatchedMimeData(taken_, [this] {
        xcb_connection_t* connection = QtConnection();
        const WindowHandle inFront = windowInFront_();
        return connection != nullptr && inFront != 0 &&
               SameClient(requestor_, inFront, xcb_get_setup(connection)->resource_id_mask);
    });
    fill(*data);
    QGuiApplication::clipboard()->setMimeData(data);
}
void DesktopClipboard::Clear() {
    QGuiApplication::clipboard()->clear();
}

void DesktopClipboard::SetText(const std::u16string& text) {
    Offer([&](QMimeData& data) { data.setText(QString::fromStdU16String(text)); });
}

void DesktopClipboard::SetRichText(const std::string& rtf) {
    const QByteArray markup = QByteArray::fromStdString(rtf);
    Offer([&](QMimeData& data) {
        for (const char* type : kRichTextMimeTypes) {
            data.setData(QString::fromLatin1(type), markup);
        }
    });
}

void DesktopClipboard::SetTriggerPicture() {
    const QImage picture = triggerPicture_();
    Offer([&](QMimeData& data) { data.setImageData(picture); });
}

void DesktopClipboard::AwaitPaste() {
    const bool takingKeys = keyEvents_.isEnabled();
    keyEvents_.setEnabled(false);
    QElapsedTimer waited;
    waited.start();
    QTimer wake;
    wake.start(kWakeMilliseconds);
    while (!*taken_ && waited.elapsed() < kPasteTimeoutMilliseconds) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents |
                                        QEventLoop::ExcludeUserInputEvents);
    }
    keyEvents_.setEnabled(takingKeys);
    // The answer to the application is queued on Qt's own connection: have
    // the X server handle it before any key that is sent next.
    if (xcb_connection_t* connection = QtConnection()) {
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    }
}

}  // namespace tavro
