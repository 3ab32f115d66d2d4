#include "editing/ImageFileCommands.h"

#include "editing/ContentFileTexts.h"
#include "editing/ContentPageControls.h"
#include "platform/MessageBoxes.h"

namespace tavro {

ImageFileCommands::ImageFileCommands(const Dependencies& dependencies, ImagePageControls& page)
    : ContentFileCommands(dependencies, page, EditorField::txtImageFile,
                          &TriggerRecord::ReplaceImageFile),
      page_(page) {}

void ImageFileCommands::cmdLoadImage_Click() {
    Load({std::u16string(kAllPicturesFilter), std::u16string(kBitmapFilter),
          std::u16string(kJpegFilter), std::u16string(kGifFilter), std::u16string(kPngFilter)});
}

void ImageFileCommands::cmdNewImage_Click() {
    if (SaveAsNewFile(CurrentSlot(), page_.DefaultBitmap(), kBitmapFilter, kBitmapExtension,
                      kNewImageFailed, kNewImageFailedTitle)) {
        Edit();
    }
}

void ImageFileCommands::cmdPasteImage_Click() {
    const int slot = CurrentSlot();
    const std::string bitmap = page_.ClipboardBitmap();
    if (bitmap.empty()) {
        Messages().ShowMessage(std::u16string(kNoImageOnClipboard),
                               std::u16string(kNoImageOnClipboardTitle), MessageIcon::Exclamation);
        return;
    }
    SaveAsNewFile(slot, bitmap, kBitmapFilter, kBitmapExtension, kPasteImageFailed,
                  kCannotSaveFileTitle);
}

}  // namespace tavro
