#pragma once

#include "editing/ContentFileCommands.h"

namespace tavro {

class ImagePageControls;

// Page 2: the picture file of an "Image" trigger, whose picture firing
// pastes. Pictures are loaded from Windows bitmap, JPEG, GIF and PNG files;
// files made here (New Image from the default picture, Paste from the
// clipboard's picture) are Windows bitmaps. New Image then opens the file in
// the desktop's program for it.
class ImageFileCommands final : public ContentFileCommands {
  public:
    ImageFileCommands(const Dependencies& dependencies, ImagePageControls& page);

    void txtImageFile_Change() { PathChanged(); }
    void cmdLoadImage_Click();
    void cmdNewImage_Click();
    void cmdPasteImage_Click();
    void cmdEditImage_Click() { Edit(); }
    void cmdReloadImage_Click() { Refresh(); }

  private:
    ImagePageControls& page_;
};

}  // namespace tavro
