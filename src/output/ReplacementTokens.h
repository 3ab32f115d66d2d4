#pragma once

#include <string_view>

namespace tavro {

// Whole-string tokens of the keystroke sender.
inline constexpr std::u16string_view kTokenPaste = u"%paste%";
inline constexpr std::u16string_view kTokenRight = u"%right%";
inline constexpr std::u16string_view kTokenBack = u"%back%";
inline constexpr std::u16string_view kTokenHelp = u"%help%";
inline constexpr std::u16string_view kTokenEnter = u"%enter%";
inline constexpr std::u16string_view kTokenOpen = u"%tavroopen%";
inline constexpr std::u16string_view kTokenNew = u"%tavronew%";
inline constexpr std::u16string_view kTokenBuffer = u"%tavrobuff%";

// Replaced inside a replacement text when a trigger fires.
inline constexpr std::u16string_view kTokenDate = u"%date%";
inline constexpr std::u16string_view kTokenTime = u"%time%";
// The trigger text of a menu firing: nothing is erased.
inline constexpr std::u16string_view kTokenNone = u"%none%";

}  // namespace tavro
