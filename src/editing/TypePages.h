#pragma once

#include <optional>
#include <string_view>

namespace tavro {

// The pages of the tab control SSTab1.
inline constexpr int kTextPage = 0;
inline constexpr int kRichTextPage = 1;
inline constexpr int kImagePage = 2;
inline constexpr int kLaunchPage = 3;
inline constexpr int kKeyBufferPage = 4;
inline constexpr int kApplicationListsPage = 5;
inline constexpr int kNewTriggerPage = 6;
inline constexpr int kPageCount = 7;

// The page that edits a trigger of this type; none for a type that is not
// one of the four (compared case-sensitively).
std::optional<int> PageForType(std::u16string_view type);

// Whether the text page offers Back to the type's own page: for the types
// whose text is only their alternate text.
bool HasAlternateText(std::u16string_view type);

// The type a letter typed into the type box stands for (T, I, R, L in either
// case); none for every other character.
std::optional<std::u16string_view> TypeForLetter(char16_t letter);

}  // namespace tavro
