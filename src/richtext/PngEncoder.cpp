#include "richtext/PngEncoder.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tavro {

namespace {

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[n] = c;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::uint8_t b : bytes) {
        crc = kCrcTable[(crc ^ b) & 0xFF] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFu;
}

class Adler32 {
  public:
    void Add(std::span<const std::uint8_t> bytes) {
        // 5552 bytes is the longest stretch whose sums cannot overflow.
        while (!bytes.empty()) {
            const std::size_t count = std::min<std::size_t>(bytes.size(), 5552);
            for (std::uint8_t b : bytes.first(count)) {
                a_ += b;
                b_ += a_;
            }
            a_ %= 65521;
            b_ %= 65521;
            bytes = bytes.subspan(count);
        }
    }
    std::uint32_t Value() const { return (b_ << 16) | a_; }

  private:
    std::uint32_t a_ = 1;
    std::uint32_t b_ = 0;
};

void AppendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 24));
    out.push_back(static_cast<std::uint8_t>(value >> 16));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void AppendChunk(std::vector<std::uint8_t>& out, std::string_view type,
                 std::span<const std::uint8_t> data) {
    AppendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    AppendBigEndian(out, Crc32(std::span(out).subspan(typeAt)));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::vector<std::uint8_t> StoredZlib(std::span<const std::uint8_t> raw) {
    constexpr std::size_t kBlock = 65535;
    std::vector<std::uint8_t> out;
    out.reserve(raw.size() + raw.size() / kBlock * 5 + 16);
    out.push_back(0x78);  // deflate, 32 KiB window
    out.push_back(0x01);
    std::size_t at = 0;
    do {
        const std::size_t count = std::min(kBlock, raw.size() - at);
        const bool last = at + count == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<std::uint8_t>(count));
        out.push_back(static_cast<std::uint8_t>(count >> 8));
        out.push_back(static_cast<std::uint8_t>(~count));
        out.push_back(static_cast<std::uint8_t>(~count >> 8));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                   raw.begin() + static_cast<std::ptrdiff_t>(at + count));
        at += count;
    } while (at < raw.size());
    Adler32 adler;
    adler.Add(raw);
    AppendBigEndian(out, adler.Value());
    return out;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(int width, int height, std::span<const std::uint8_t> rgba) {
    const auto rowBytes = static_cast<std::size_t>(width) * 4;
    std::vector<std::uint8_t> scanlines;
    scanlines.reserve((rowBytes + 1) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        scanlines.push_back(0);  // filter: none
        const auto row = rgba.subspan(static_cast<std::size_t>(y) * rowBytes, rowBytes);
        scanlines.insert(scanlines.end(), row.begin(), row.end());
    }

    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    AppendBigEndian(header, static_cast<std::uint32_t>(width));
    AppendBigEndian(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no interlace
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "IDAT", StoredZlib(scanlines));
    AppendChunk(png, "IEND", {});
    return png;
}

}  // namespace tavro
