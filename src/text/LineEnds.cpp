#include "text/LineEnds.h"

namespace tavro {

std::u16string WithLineFeeds(std::u16string_view text) {
    std::u16string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r') {
            result += text[i];
        } else if (i + 1 == text.size() || text[i + 1] != u'\n') {
            result += u'\n';
        }
    }
    return result;
}

}  // namespace tavro
