#pragma once

#include <string>
#include <string_view>

namespace tavro {

// The text with every line end (CR LF, a lone CR or LF) as one LF: the line
// end that programs on X11 expect of text they paste.
std::u16string WithLineFeeds(std::u16string_view text);

}  // namespace tavro
