#pragma once

#include <string_view>

namespace tavro {

// The texts of the rich-text and image pages: their file dialogs and their
// messages.

// Patterns match file names without regard to case.
inline constexpr std::u16string_view kRichTextFilter = u"Rich Text (*.RTF)";
inline constexpr std::u16string_view kRichTextExtension = u"rtf";
inline constexpr std::u16string_view kAllPicturesFilter =
    u"All Pictures (*.bmp *.jpg *.jpeg *.gif *.png)";
inline constexpr std::u16string_view kBitmapFilter = u"Windows Bitmap (*.BMP)";
inline constexpr std::u16string_view kJpegFilter = u"JPEG Files (*.jpg *.jpeg)";
inline constexpr std::u16string_view kGifFilter = u"GIF Files (*.gif)";
inline constexpr std::u16string_view kPngFilter = u"PNG Files (*.png)";
inline constexpr std::u16string_view kBitmapExtension = u"bmp";

inline constexpr std::u16string_view kCannotSaveFileTitle = u"Cannot save file";
inline constexpr std::u16string_view kNewRichTextFailed =
    u"Cannot save file. Please try a different filename.";
inline constexpr std::u16string_view kPasteRichTextFailed =
    u"Cannot save file. Please use a different filename";
inline constexpr std::u16string_view kNewImageFailed =
    u"Unable to save new file. Please choose a different filename";
inline constexpr std::u16string_view kNewImageFailedTitle = u"Invalid Filename";
inline constexpr std::u16string_view kPasteImageFailed =
    u"Cannot save file. Please choose a different filename";
inline constexpr std::u16string_view kNoImageOnClipboard = u"There is no image on the clipboard. ";
inline constexpr std::u16string_view kNoImageOnClipboardTitle = u"Invalid clipboard format";
inline constexpr std::u16string_view kRefreshFailedTitle = u"Error refreshing file";

}  // namespace tavro
