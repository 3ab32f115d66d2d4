#pragma once

#include <string>
#include <string_view>

namespace tavro {

// Upper-case form of one UTF-16 code unit: ASCII, Latin-1, Latin Extended-A,
// Greek and Cyrillic letters; every other unit is returned as it is.
char16_t UpperCase(char16_t c);
std::u16string UpperCase(std::u16string_view text);

// Comparisons of the upper-case forms, as trigger matching and the
// application lists compare.
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);
bool EndsWithIgnoringCase(std::u16string_view text, std::u16string_view suffix);

// Removes leading and trailing blanks (spaces only, not tabs or line ends).
std::u16string_view TrimBlanks(std::u16string_view text);

}  // namespace tavro
