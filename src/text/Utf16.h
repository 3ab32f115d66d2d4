#pragma once

#include <cstdint>

namespace tavro {

inline bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
inline bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The code point of a high and a low surrogate.
inline char32_t CombineSurrogates(char16_t high, char16_t low) {
    return 0x10000 + ((char32_t{high} - 0xD800) << 10) + (char32_t{low} - 0xDC00);
}

// Puts the character into 32 bits as UTF-16, the first unit in the low half
// (a surrogate pair beyond the Basic Multilingual Plane); returns how many
// units that is.
inline int PackUtf16(char32_t c, std::uint32_t& packed) {
    if (c < 0x10000) {
        packed = c;
        return 1;
    }
    const char32_t offset = c - 0x10000;
    packed = (0xD800 + (offset >> 10)) | ((0xDC00 + (offset & 0x3FF)) << 16);
    return 2;
}

}  // namespace tavro
