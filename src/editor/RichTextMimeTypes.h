#pragma once

#include <array>

namespace tavro {

// The clipboard types under which rich text travels on the Linux desktop:
// what LibreOffice and other office programs offer and accept. Reading
// prefers the first.
inline constexpr std::array<const char*, 3> kRichTextMimeTypes = {
    "text/rtf",
    "text/richtext",
    "application/rtf",
};

}  // namespace tavro
