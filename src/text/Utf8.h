#pragma once

#include <string>
#include <string_view>

namespace tavro {

// Conversions between the engine's UTF-16 text and UTF-8 (files, logs,
// terminals). Unpaired surrogates and malformed bytes become U+FFFD.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

}  // namespace tavro
