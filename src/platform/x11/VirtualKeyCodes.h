#pragma once

#include <cstdint>
#include <optional>

namespace tavro::x11 {

// Windows virtual-key codes the backend itself needs to name.
inline constexpr std::uint8_t kVirtualKeyCtrl = 0x11;
inline constexpr std::uint8_t kVirtualKeyAlt = 0x12;
inline constexpr std::uint8_t kVirtualKeyCapsLock = 0x14;
inline constexpr std::uint8_t kVirtualKeyNumLock = 0x90;
// A key Windows has no code for.
inline constexpr std::uint8_t kNoVirtualKey = 0xFF;

// A key's place on a PC keyboard: its set-1 scan code, and whether it sends
// the 0xE0 prefix (an extended key). Scan code 0: no PC key.
struct PcKey {
    std::uint8_t scanCode = 0;
    bool extended = false;
};

// The PC key behind an X keycode. X servers of today (Xorg with evdev or
// libinput, Xvfb, Xwayland) number a key as its Linux input code plus 8.
PcKey PcKeyOfKeycode(unsigned int keycode);

// The virtual key of a keysym that names its key by itself: letters, the
// named and function keys, the modifiers, the numeric keypad, space, and the
// punctuation keys of a US keyboard. 0 when the keysym does not say (digits,
// other characters): then the key's place decides (VirtualKeyOfPlace), as
// Windows keeps the digit row on VK '0'..'9' in every layout.
std::uint8_t VirtualKeyOfKeysym(unsigned long keysym);

// The virtual key of the key at this place of a US keyboard's main block
// (digit row, letters, punctuation); kNoVirtualKey anywhere else.
std::uint8_t VirtualKeyOfPlace(std::uint8_t scanCode);

// Whether a US keyboard types the character with Shift held; std::nullopt
// when no key of it types the character.
std::optional<bool> UsKeyboardNeedsShift(char32_t c);

}  // namespace tavro::x11
