#include "richtext/ImageSize.h"

#include <array>
#include <cstring>

namespace tavro {

namespace {

constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::uint32_t BigEndian32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
           (std::uint32_t{bytes[at + 2]} << 8) | bytes[at + 3];
}

std::uint32_t BigEndian16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return (std::uint32_t{bytes[at]} << 8) | bytes[at + 1];
}

// PNG and JPEG both cap a side at 2^31 - 1 or less; anything larger is not
// a picture we can show.
constexpr std::uint32_t kLargestSide = 1u << 20;

std::optional<PixelSize> Checked(std::uint32_t width, std::uint32_t height) {
    if (width == 0 || height == 0 || width > kLargestSide || height > kLargestSide) {
        return std::nullopt;
    }
    return PixelSize{static_cast<int>(width), static_cast<int>(height)};
}

}  // namespace

std::optional<PixelSize> PngSize(std::span<const std::uint8_t> png) {
    // Signature, then the IHDR chunk: length, type, width, height.
    if (png.size() < 24 || std::memcmp(png.data(), kPngSignature.data(), 8) != 0 ||
        std::memcmp(png.data() + 12, "IHDR", 4) != 0) {
        return std::nullopt;
    }
    return Checked(BigEndian32(png, 16), BigEndian32(png, 20));
}

std::optional<PixelSize> JpegSize(std::span<const std::uint8_t> jpeg) {
    if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) {
        return std::nullopt;
    }
    std::size_t at = 2;
    while (at + 4 <= jpeg.size()) {
        if (jpeg[at] != 0xFF) {
            return std::nullopt;
        }
        const std::uint8_t marker = jpeg[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            at += 2;  // markers without a length
            continue;
        }
        const std::uint32_t length = BigEndian16(jpeg, at + 2);
        const bool startOfFrame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (startOfFrame) {
            // Length, precision, height, width.
            if (length < 7 || at + 9 > jpeg.size()) {
                return std::nullopt;
            }
            return Checked(BigEndian16(jpeg, at + 7), BigEndian16(jpeg, at + 5));
        }
        if (length < 2 || marker == 0xD9 || marker == 0xDA) {
            return std::nullopt;  // no frame header before the image data
        }
        at += 2 + length;
    }
    return std::nullopt;
}

}  // namespace tavro
