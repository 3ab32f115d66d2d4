#pragma once

#include <string>

#include "richtext/RichDocument.h"

namespace tavro {

// Writes the document as an HTML page (UTF-8) for programs that paste HTML
// but no RTF, such as web browsers: paragraphs without margins, character
// formatting as inline styles and b, i, u and s elements, line breaks as br,
// table rows as tables, pictures as img elements with data: URLs. Text of
// every kind comes out as text: nothing in the document can add markup.
std::string WriteHtml(const Document& document);

}  // namespace tavro
