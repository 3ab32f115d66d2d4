#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "richtext/RichDocument.h"

namespace tavro {

// Layout of a device-dependent bitmap (RTF \wbitmap), which carries no
// header of its own: rows top to bottom, `widthBytes` bytes each.
struct DeviceBitmapLayout {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 1;
    int planes = 1;
    int widthBytes = 0;
};

// Windows bitmaps as PNG pictures, or nothing when the data is not a bitmap
// this code understands or does not hold as many pixels as it declares.
// The display size is left 0 for the caller.
std::optional<Picture> PictureFromDib(std::span<const std::uint8_t> dib);
std::optional<Picture> PictureFromDeviceBitmap(std::span<const std::uint8_t> bits,
                                               const DeviceBitmapLayout& layout);

// A grey framed box standing in for a picture that cannot be shown, at about
// the given pixel size (clamped to a small range).
Picture PlaceholderPicture(int width, int height);

}  // namespace tavro
