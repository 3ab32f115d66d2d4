#pragma once

#include <string>

namespace tavro {

// The desktop's clipboard.
class Clipboard {
  public:
    virtual ~Clipboard() = default;
    virtual void Clear() = 0;
    virtual void SetText(const std::u16string& text) = 0;
    // RTF markup, offered in the rich-text formats.
    virtual void SetRichText(const std::string& rtf) = 0;
    // The staging area's TriggerPicture, as a bitmap.
    virtual void SetTriggerPicture() = 0;
};

}  // namespace tavro
