#include "richtext/BitmapPictures.h"

#include <algorithm>
#include <array>
#include <vector>

#include "richtext/PngEncoder.h"

namespace tavro {

namespace {

// Larger bitmaps would need hundreds of megabytes once expanded to RGBA.
constexpr std::int64_t kLargestPixelCount = std::int64_t{16} << 20;

std::uint32_t LittleEndian32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return bytes[at] | (std::uint32_t{bytes[at + 1]} << 8) | (std::uint32_t{bytes[at + 2]} << 16) |
           (std::uint32_t{bytes[at + 3]} << 24);
}

std::uint32_t LittleEndian16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return bytes[at] | (std::uint32_t{bytes[at + 1]} << 8);
}

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// One channel of a packed pixel, scaled to 8 bits.
std::uint8_t Channel(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (((mask >> shift) & 1) == 0) {
        ++shift;
    }
    const std::uint32_t bits = mask >> shift;
    const std::uint32_t value = (pixel & mask) >> shift;
    return static_cast<std::uint8_t>(value * 255 / bits);
}

// Rows of packed pixels in one of the layouts Windows bitmaps use.
struct PixelRows {
    std::span<const std::uint8_t> bits;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::size_t stride = 0;
    bool bottomUp = false;
    std::vector<Rgb> palette;                        // up to 8 bits per pixel
    std::array<std::uint32_t, 3> masks = {0, 0, 0};  // 16 and 32 bits per pixel
};

bool Fits(int width, int height, std::size_t stride, std::size_t available) {
    if (width <= 0 || height <= 0 ||
        std::int64_t{width} * std::int64_t{height} > kLargestPixelCount) {
        return false;
    }
    return stride * static_cast<std::size_t>(height) <= available;
}

Picture ToPng(const PixelRows& rows) {
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(rows.width) *
                                   static_cast<std::size_t>(rows.height) * 4);
    auto out = rgba.begin();
    for (int y = 0; y < rows.height; ++y) {
        const int sourceRow = rows.bottomUp ? rows.height - 1 - y : y;
        const auto row = rows.bits.subspan(static_cast<std::size_t>(sourceRow) * rows.stride);
        for (int x = 0; x < rows.width; ++x) {
            const auto ux = static_cast<std::size_t>(x);
            Rgb color;
            switch (rows.bitsPerPixel) {
                case 1:
                case 4:
                case 8: {
                    const auto bpp = static_cast<std::size_t>(rows.bitsPerPixel);
                    const std::size_t bit = ux * bpp;
                    const unsigned shift = static_cast<unsigned>(8 - bpp - bit % 8);
                    const unsigned index = (row[bit / 8] >> shift) & ((1u << bpp) - 1);
                    if (index < rows.palette.size()) {
                        color = rows.palette[index];
                    }
                    break;
                }
                case 16: {
                    const std::uint32_t pixel = LittleEndian16(row, ux * 2);
                    color = {Channel(pixel, rows.masks[0]), Channel(pixel, rows.masks[1]),
                             Channel(pixel, rows.masks[2])};
                    break;
                }
                case 24:
                    color = {row[ux * 3 + 2], row[ux * 3 + 1], row[ux * 3]};
                    break;
                default: {
                    const std::uint32_t pixel = LittleEndian32(row, ux * 4);
                    color = {Channel(pixel, rows.masks[0]), Channel(pixel, rows.masks[1]),
                             Channel(pixel, rows.masks[2])};
                    break;
                }
            }
            *out++ = color.red;
            *out++ = color.green;
            *out++ = color.blue;
            *out++ = 0xFF;
        }
    }
    Picture picture;
    picture.format = PictureFormat::Png;
    picture.width = rows.width;
    picture.height = rows.height;
    picture.data = EncodePng(rows.width, rows.height, rgba);
    return picture;
}

std::size_t Stride(int width, int bitsPerPixel, int alignBytes) {
    const std::size_t bits =
        static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel);
    const auto align = static_cast<std::size_t>(alignBytes) * 8;
    return (bits + align - 1) / align * static_cast<std::size_t>(alignBytes);
}

std::vector<Rgb> GreyRamp(int bitsPerPixel) {
    const int count = 1 << bitsPerPixel;
    std::vector<Rgb> ramp;
    for (int i = 0; i < count; ++i) {
        const auto level = static_cast<std::uint8_t>(i * 255 / (count - 1));
        ramp.push_back({level, level, level});
    }
    return ramp;
}

}  // namespace

std::optional<Picture> PictureFromDib(std::span<const std::uint8_t> dib) {
    constexpr std::uint32_t kCoreHeader = 12;
    constexpr std::uint32_t kInfoHeader = 40;
    constexpr std::uint32_t kRgb = 0;
    constexpr std::uint32_t kBitFields = 3;
    if (dib.size() < kCoreHeader) {
        return std::nullopt;
    }
    const std::uint32_t headerSize = LittleEndian32(dib, 0);
    PixelRows rows;
    std::uint32_t compression = kRgb;
    std::uint32_t colorsUsed = 0;
    std::size_t paletteEntry = 4;
    if (headerSize == kCoreHeader) {
        rows.width = static_cast<int>(LittleEndian16(dib, 4));
        rows.height = static_cast<int>(LittleEndian16(dib, 6));
        rows.bitsPerPixel = static_cast<int>(LittleEndian16(dib, 10));
        paletteEntry = 3;
        rows.bottomUp = true;
    } else if (headerSize >= kInfoHeader && headerSize <= dib.size()) {
        rows.width = static_cast<std::int32_t>(LittleEndian32(dib, 4));
        const auto height = static_cast<std::int32_t>(LittleEndian32(dib, 8));
        if (height == INT32_MIN) {
            return std::nullopt;
        }
        rows.bottomUp = height > 0;
        rows.height = height > 0 ? height : -height;
        rows.bitsPerPixel = static_cast<int>(LittleEndian16(dib, 14));
        compression = LittleEndian32(dib, 16);
        colorsUsed = LittleEndian32(dib, 32);
    } else {
        return std::nullopt;
    }

    std::size_t at = headerSize;
    switch (rows.bitsPerPixel) {
        case 1:
        case 4:
        case 8: {
            if (compression != kRgb) {
                return std::nullopt;  // run-length encoded
            }
            const std::uint32_t most = 1u << rows.bitsPerPixel;
            const std::uint32_t count = colorsUsed == 0 || colorsUsed > most ? most : colorsUsed;
            if (at + count * paletteEntry > dib.size()) {
                return std::nullopt;
            }
            for (std::uint32_t i = 0; i < count; ++i) {
                rows.palette.push_back({dib[at + 2], dib[at + 1], dib[at]});
                at += paletteEntry;
            }
            break;
        }
        case 16:
        case 32:
            if (compression == kBitFields && headerSize == kInfoHeader) {
                if (at + 12 > dib.size()) {
                    return std::nullopt;
                }
                rows.masks = {LittleEndian32(dib, at), LittleEndian32(dib, at + 4),
                              LittleEndian32(dib, at + 8)};
                at += 12;
            } else if (compression == kBitFields) {
                rows.masks = {LittleEndian32(dib, 40), LittleEndian32(dib, 44),
                              LittleEndian32(dib, 48)};
            } else if (compression == kRgb) {
                rows.masks = rows.bitsPerPixel == 16
                                 ? std::array<std::uint32_t, 3>{0x7C00, 0x03E0, 0x001F}
                                 : std::array<std::uint32_t, 3>{0xFF0000, 0x00FF00, 0x0000FF};
            } else {
                return std::nullopt;
            }
            break;
        case 24:
            if (compression != kRgb) {
                return std::nullopt;
            }
            break;
        default:
            return std::nullopt;
    }
    rows.stride = Stride(rows.width, rows.bitsPerPixel, 4);
    rows.bits = dib.subspan(at);
    if (!Fits(rows.width, rows.height, rows.stride, rows.bits.size())) {
        return std::nullopt;
    }
    return ToPng(rows);
}

std::optional<Picture> PictureFromDeviceBitmap(std::span<const std::uint8_t> bits,
                                               const DeviceBitmapLayout& layout) {
    PixelRows rows;
    rows.bits = bits;
    rows.width = layout.width;
    rows.height = layout.height;
    rows.bitsPerPixel = layout.bitsPerPixel;
    if (layout.planes != 1) {
        return std::nullopt;
    }
    switch (layout.bitsPerPixel) {
        case 1:
        case 8:
            rows.palette = GreyRamp(layout.bitsPerPixel);
            break;
        case 24:
            break;
        case 32:
            rows.masks = {0xFF0000, 0x00FF00, 0x0000FF};
            break;
        default:
            return std::nullopt;
    }
    const std::size_t minimumStride = Stride(layout.width, layout.bitsPerPixel, 2);
    rows.stride =
        layout.widthBytes > 0 ? static_cast<std::size_t>(layout.widthBytes) : minimumStride;
    if (rows.stride < minimumStride || !Fits(rows.width, rows.height, rows.stride, bits.size())) {
        return std::nullopt;
    }
    return ToPng(rows);
}

Picture PlaceholderPicture(int width, int height) {
    const int w = std::clamp(width, 16, 256);
    const int h = std::clamp(height, 16, 256);
    std::vector<std::uint8_t> rgba;
    rgba.reserve(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool frame = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            const std::uint8_t level = frame ? 0x80 : 0xD8;
            rgba.insert(rgba.end(), {level, level, level, 0xFF});
        }
    }
    Picture picture;
    picture.format = PictureFormat::Png;
    picture.width = w;
    picture.height = h;
    picture.data = EncodePng(w, h, rgba);
    return picture;
}

}  // namespace tavro
