#include "app/DesktopClipboard.h"

#include <xcb/xcb.h>
#include <QClipboard>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>

#include <cstdlib>

#include "editor/RichTextMimeData.h"
#include "text/LineEnds.h"

namespace tavro {

namespace {

constexpr qint64 kPasteTimeoutMilliseconds = 1000;
constexpr int kWakeMilliseconds = 10;

// Clipboard content that notes when an application asks for it.
class WatchedMimeData final : public RichTextMimeData {
  public:
    explicit WatchedMimeData(std::shared_ptr<bool> taken) : taken_(std::move(taken)) {}

  protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override {
        *taken_ = true;
        return RichTextMimeData::retrieveData(mimeType, type);
    }

  private:
    std::shared_ptr<bool> taken_;
};

}  // namespace

void DesktopClipboard::Offer(const std::function<void(RichTextMimeData&)>& fill) {
    taken_ = std::make_shared<bool>(false);
    auto* data = new WatchedMimeData(taken_);
    fill(*data);
    QGuiApplication::clipboard()->setMimeData(data);
}

void DesktopClipboard::Clear() {
    QGuiApplication::clipboard()->clear();
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
    QElapsedTimer waited;
    waited.start();
    QTimer wake;
    wake.start(kWakeMilliseconds);
    while (!*taken_ && waited.elapsed() < kPasteTimeoutMilliseconds) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    // The answer to the application is queued on Qt's own connection: have
    // the X server handle it before any key that is sent next.
    if (const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        xcb_connection_t* connection = x11->connection();
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    }
}

}  // namespace tavro
