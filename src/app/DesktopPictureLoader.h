#pragma once

#include "platform/PictureLoader.h"

namespace tavro {

// Picture files through Qt's image readers: every format Qt reads (Windows
// bitmap, GIF, PNG, JPEG and the others its plugins bring).
class DesktopPictureLoader final : public PictureLoader {
  public:
    std::vector<std::uint8_t> LoadPicture(const std::u16string& path) override;
};

}  // namespace tavro
