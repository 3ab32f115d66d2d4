#pragma once

#include <optional>
#include <string>

namespace tavro {

// The controls of a page that shows a trigger's content file (the rich-text
// page, the image page) beyond its path box.
class ContentPageControls {
  public:
    virtual ~ContentPageControls() = default;

    // Shows the file's content on the page, in place of what it showed; ""
    // shows nothing. This is also what firing the trigger delivers. The
    // error's description when the file cannot be read; the page then shows
    // nothing.
    virtual std::optional<std::u16string> ShowContentFile(const std::u16string& path) = 0;
    // The Edit button, which opens the file in the desktop's program for it.
    virtual void SetEditEnabled(bool enabled) = 0;
    // The Refresh button, which shows the file again after it was edited.
    virtual void SetRefreshVisible(bool visible) = 0;
};

// Page 1, the rich-text file of an "RTF" trigger and its preview.
class RichTextPageControls : public ContentPageControls {
  public:
    // Shows the clipboard's content in the preview in place of what it
    // showed (rich text, a picture or plain text) and returns it as RTF.
    virtual std::string PastePreview() = 0;
};

// Page 2, the picture file of an "Image" trigger and its preview.
class ImagePageControls : public ContentPageControls {
  public:
    // The clipboard's picture as the content of a Windows bitmap file, shown
    // in the preview; "" when the clipboard holds no picture.
    virtual std::string ClipboardBitmap() = 0;
    // The program's default picture as the content of a Windows bitmap file,
    // shown in the preview.
    virtual std::string DefaultBitmap() = 0;
};

}  // namespace tavro
