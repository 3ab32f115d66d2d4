#pragma once

#include <functional>
#include <memory>

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QImage>
#include <QTimer>

#include "platform/Clipboard.h"
#include "platform/PlatformTypes.h"

class QSocketNotifier;

namespace tavro {

class RichTextMimeData;

// The desktop clipboard. Rich text is offered under the types that office
// programs on Linux paste from, and as HTML and plain text for the others.
class DesktopClipboard final : public Clipboard, private QAbstractNativeEventFilter {
  public:
    // `triggerPicture` gives the picture of the trigger being fired,
    // `windowInFront` the window that pastes; `keyEvents` brings the key
    // events that may fire triggers.
    DesktopClipboard(std::function<QImage()> triggerPicture,
                     std::function<WindowHandle()> windowInFront, QSocketNotifier& keyEvents);
    ~DesktopClipboard() override;
    DesktopClipboard(const DesktopClipboard&) = delete;
    DesktopClipboard& operator=(const DesktopClipboard&) = delete;

    // Content offered before the event loop runs again replaces what the
    // clipboard holds without emptying it first: applications and clipboard
    // managers see one change, and the paste waits for no extra round trip.
    void Clear() override;
    void SetText(const std::u16string& text) override;
    void SetRichText(const std::string& rtf) override;
    void SetTriggerPicture() override;
    // Waits until the application in front has asked for the content, at
    // most a second after it was offered: a clipboard manager that copies
    // every new content, or anyone else, does not end the wait. Keys are not
    // taken meanwhile, so no trigger fires in the middle of a delivery.
    void AwaitPaste() override;

  private:
    // Puts the content on the clipboard, noting when the window in front
    // asks for it.
    void Offer(const std::function<void(RichTextMimeData&)>& fill);
    void AwaitPendingPaste();
    // Notes who asks for the clipboard, before Qt answers.
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    std::function<QImage()> triggerPicture_;
    std::function<WindowHandle()> windowInFront_;
    QSocketNotifier& keyEvents_;
    std::uint32_t requestor_ = 0;
    QElapsedTimer offered_;
    std::shared_ptr<bool> taken_ = std::make_shared<bool>(true);
    QTimer clearLater_;
};

}  // namespace tavro
