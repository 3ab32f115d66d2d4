#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tavro {

// Encodes 8-bit RGBA pixels (rows top to bottom, width * height * 4 bytes)
// as a PNG file. The image data is stored without compression: quick to
// write, and every PNG decoder reads it.
std::vector<std::uint8_t> EncodePng(int width, int height, std::span<const std::uint8_t> rgba);

}  // namespace tavro
