#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavro {

// Reads picture files in every format the desktop knows (Windows bitmap,
// JPEG, GIF, PNG, ...).
class PictureLoader {
  public:
    virtual ~PictureLoader() = default;
    // The file's picture as PNG or JPEG bytes: PNG and JPEG files as they
    // are, other formats converted to PNG. Empty when the file is missing or
    // holds no picture the desktop can read.
    virtual std::vector<std::uint8_t> LoadPicture(const std::u16string& path) = 0;
};

}  // namespace tavro
