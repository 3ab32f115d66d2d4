#include "richtext/Base64.h"

namespace tavro {

std::string EncodeBase64(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const bool second = i + 1 < bytes.size();
        const bool third = i + 2 < bytes.size();
        const std::uint32_t chunk = (std::uint32_t{bytes[i]} << 16) |
                                    (second ? std::uint32_t{bytes[i + 1]} << 8 : 0) |
                                    (third ? std::uint32_t{bytes[i + 2]} : 0);
        out += kDigits[(chunk >> 18) & 63];
        out += kDigits[(chunk >> 12) & 63];
        out += second ? kDigits[(chunk >> 6) & 63] : '=';
        out += third ? kDigits[chunk & 63] : '=';
    }
    return out;
}

}  // namespace tavro
