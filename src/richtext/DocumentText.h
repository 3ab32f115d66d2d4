#pragma once

#include <string>
#include <string_view>

#include "richtext/RichDocument.h"

namespace tavro {

// The document's visible text: each paragraph and each line break ends with
// `lineEnd`, tabs stay, and a picture shows as "[picture WxH]" (its size in
// pixels).
std::u16string DocumentText(const Document& document, std::u16string_view lineEnd = u"\n");

// The document's text as a program that takes plain text should receive it:
// paragraphs and line breaks separated by LF, with no line end after the
// last paragraph; tabs stay (they separate a table row's cells), pictures
// are left out.
std::u16string PlainText(const Document& document);

}  // namespace tavro
