#pragma once

#include <cstdint>

#include "platform/PlatformTypes.h"

namespace tavro {

inline constexpr std::uint32_t kMapVirtualKeyToScanCode = 0;  // MAPVK_VK_TO_VSC

// What the current keyboard layout makes of keys and characters. Characters
// are UTF-16 code units; a backend answers in the layout's own terms.
class KeyboardLayout {
  public:
    virtual ~KeyboardLayout() = default;
    virtual KeyboardLayoutHandle GetKeyboardLayout() = 0;
    virtual std::uint32_t MapVirtualKeyExA(std::uint32_t code, std::uint32_t mapType,
                                           KeyboardLayoutHandle layout) = 0;
    // Writes the characters the key produces into `output` (first character
    // in the low 16 bits); returns how many it wrote.
    virtual int ToAscii(std::uint32_t virtualKey, std::uint32_t scanCode,
                        const KeyboardState& state, std::uint32_t& output, std::uint32_t flags) = 0;
    // Low byte: the virtual key that types `c`; high byte: the shift state
    // it needs. -1 when no key of the layout types it.
    virtual std::int16_t VkKeyScanA(char16_t c) = 0;
    // The OEM form of `c`.
    virtual char16_t CharToOemA(char16_t c) = 0;
    // Low byte: the scan code of the OEM character; high word: shift state.
    virtual std::uint32_t OemKeyScan(char16_t oemCharacter) = 0;
};

}  // namespace tavro
