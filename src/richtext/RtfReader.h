#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "richtext/RichDocument.h"

namespace tavro {

struct RtfReadResult {
    // False when the input does not begin as an RTF document ("{\rtf");
    // nothing is read then.
    bool isRtf = false;
    Document document;
    // What was wrong with the input and how it was repaired, one sentence
    // each, every kind once. The document is still the best reading.
    std::vector<std::string> problems;
};

// Reads RTF as real programs write it. Unknown control words and
// destinations are skipped; damaged input is read as far as it makes sense,
// never rejected halfway. Groups are kept on a heap stack, so nesting depth
// costs no call stack.
RtfReadResult ReadRtf(std::string_view rtf);

// Whether the input begins as an RTF document ("{\rtf" after blanks): the
// test ReadRtf makes before it reads anything.
bool IsRtf(std::string_view input);

}  // namespace tavro
