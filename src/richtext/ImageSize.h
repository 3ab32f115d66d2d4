#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace tavro {

struct PixelSize {
    int width = 0;
    int height = 0;
};

// The pixel size an encoded image declares in its header, or nothing when
// the bytes are not a well-formed header of that format.
std::optional<PixelSize> PngSize(std::span<const std::uint8_t> png);
std::optional<PixelSize> JpegSize(std::span<const std::uint8_t> jpeg);

}  // namespace tavro
