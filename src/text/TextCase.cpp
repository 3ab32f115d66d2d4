#include "text/TextCase.h"

#include <algorithm>

namespace tavro {

namespace {

bool IsEven(char16_t c) {
    return c % 2 == 0;
}

// Latin Extended-A keeps upper and lower case side by side; the block switches
// which of the two comes first at U+0139 and again at U+014A and U+0179.
char16_t UpperCaseLatinExtendedA(char16_t c) {
    if ((c >= 0x0100 && c <= 0x0137) || (c >= 0x014A && c <= 0x0177)) {
        return IsEven(c) ? c : static_cast<char16_t>(c - 1);
    }
    if ((c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E)) {
        return IsEven(c) ? static_cast<char16_t>(c - 1) : c;
    }
    return c;
}

}  // namespace

char16_t UpperCase(char16_t c) {
    if (c < 0x80) {
        return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
    }
    if (c >= 0x00E0 && c <= 0x00FE && c != 0x00F7) {
        return static_cast<char16_t>(c - 0x20);
    }
    if (c == 0x00FF) {
        return 0x0178;
    }
    if (c >= 0x0100 && c <= 0x017F) {
        return UpperCaseLatinExtendedA(c);
    }
    if (c == 0x03C2) {  // final sigma
        return 0x03A3;
    }
    if ((c >= 0x03B1 && c <= 0x03C9) || (c >= 0x0430 && c <= 0x044F)) {
        return static_cast<char16_t>(c - 0x20);
    }
    if (c >= 0x0450 && c <= 0x045F) {
        return static_cast<char16_t>(c - 0x50);
    }
    return c;
}

std::u16string UpperCase(std::u16string_view text) {
    std::u16string result(text);
    for (char16_t& c : result) {
        c = UpperCase(c);
    }
    return result;
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return UpperCase(x) == UpperCase(y); });
}

bool EndsWithIgnoringCase(std::u16string_view text, std::u16string_view suffix) {
    return suffix.size() <= text.size() &&
           EqualsIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

std::u16string_view TrimBlanks(std::u16string_view text) {
    const auto first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

}  // namespace tavro
