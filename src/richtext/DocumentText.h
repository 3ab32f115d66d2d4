#pragma once

#include <string>
#include <string_view>

#include "richtext/RichDocument.h"

namespace tavro {

// The document's visible text: each paragraph and each line break ends with
// `lineEnd`, tabs stay, and a picture shows as "[picture WxH]" (its size in
// pixels).
std::u16string DocumentText(const Document& document, std::u16string_view lineEnd = u"\n");

}  // namespace tavro
