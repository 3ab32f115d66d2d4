#pragma once

#include <cstdint>
#include <string>

namespace tavro {

inline constexpr std::uint32_t kKeyBackspace = 8;
inline constexpr std::uint32_t kKeyEnter = 13;
inline constexpr std::uint32_t kKeyShift = 16;
inline constexpr std::uint32_t kKeyCtrl = 17;
inline constexpr std::uint32_t kKeyAlt = 18;
inline constexpr std::uint32_t kKeyCapsLock = 20;
inline constexpr std::uint32_t kKeyEscape = 27;
inline constexpr std::uint32_t kKeyRight = 39;
inline constexpr std::uint32_t kKeyLeftWindows = 91;
inline constexpr std::uint32_t kKeyRightWindows = 92;
inline constexpr std::uint32_t kKeyF1 = 112;
inline constexpr std::uint32_t kKeyNumLock = 144;

// Whether the key adds nothing to the key buffer (Shift, Ctrl, Alt, Caps Lock,
// Num Lock).
bool IsSilentKey(std::uint32_t keyCode);

// The bracketed entry of a named key ("<enter>", "<f5>"), "" for a key that
// types a character.
std::u16string NamedKeyEntry(std::uint32_t keyCode);

// The character a US keyboard gives for `c` with Shift held; other
// characters come back unchanged.
char16_t ShiftedPartner(char16_t c);

}  // namespace tavro
