#pragma once

#include <functional>
#include <memory>

#include <QImage>

#include "platform/Clipboard.h"

namespace tavro {

class RichTextMimeData;

// The desktop clipboard. Rich text is offered under the types that office
// programs on Linux paste from, and as HTML and plain text for the others.
class DesktopClipboard final : public Clipboard {
  public:
    // `triggerPicture` gives the picture of the trigger being fired.
    explicit DesktopClipboard(std::function<QImage()> triggerPicture)
        : triggerPicture_(std::move(triggerPicture)) {}

    void Clear() override;
    void SetText(const std::u16string& text) override;
    void SetRichText(const std::string& rtf) override;
    void SetTriggerPicture() override;
    void AwaitPaste() override;

  private:
    // Puts the content on the clipboard, noting when an application takes it.
    void Offer(const std::function<void(RichTextMimeData&)>& fill);

    std::function<QImage()> triggerPicture_;
    std::shared_ptr<bool> taken_ = std::make_shared<bool>(true);
};

}  // namespace tavro
