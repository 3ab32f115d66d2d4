#pragma once

#include <string>

namespace tavro {

// The desktop's clipboard.
class Clipboard {
  public:
    virtual ~Clipboard() = default;
    virtual void Clear() = 0;
    virtual void SetText(const std::u16string& text) = 0;
    // RTF markup, offered in the rich-text formats and, for programs that
    // read no RTF, as HTML and plain text.
    virtual void SetRichText(const std::string& rtf) = 0;
    // The staging area's TriggerPicture, as a bitmap.
    virtual void SetTriggerPicture() = 0;
    // Returns once the application in front has taken what was put on the
    // clipboard, or after a short while. Where a paste is fetched after the
    // key that asked for it, keys sent after the paste would otherwise
    // overtake it.
    virtual void AwaitPaste() = 0;
};

}  // namespace tavro
