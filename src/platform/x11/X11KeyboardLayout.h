#pragma once

#include <optional>

#include "platform/KeyboardLayout.h"
#include "platform/x11/X11Keymap.h"

namespace tavro::x11 {

// The layout queries answered from the X keymap of the current group.
//
// The keystroke sender presses Shift by the US rule (for capitals and the 21
// shifted symbols, never otherwise) and compensates Caps Lock for the ASCII
// letters only. So VkKeyScanA and OemKeyScan offer a key for a character
// only when that rule makes the key type exactly the character: on a US
// layout every ASCII character has its key; what needs AltGr, the other
// level of a non-US key, or a key that Caps Lock changes, answers -1 and
// reaches the application through KeyInjector::TypeCharacter, as written.
class X11KeyboardLayout final : public KeyboardLayout {
  public:
    explicit X11KeyboardLayout(X11Keymap& keymap) : keymap_(keymap) {}

    // The current keyboard group.
    KeyboardLayoutHandle GetKeyboardLayout() override;
    // Virtual key to scan code (mapType 0); other mapping types answer 0.
    std::uint32_t MapVirtualKeyExA(std::uint32_t code, std::uint32_t mapType,
                                   KeyboardLayoutHandle layout) override;
    // Shift, Caps Lock and AltGr (Ctrl with Alt) of `state` choose the level.
    int ToAscii(std::uint32_t virtualKey, std::uint32_t scanCode, const KeyboardState& state,
                std::uint32_t& output, std::uint32_t flags) override;
    std::int16_t VkKeyScanA(char16_t c) override;
    // X has no OEM code page: characters stay as they are.
    char16_t CharToOemA(char16_t c) override { return c; }
    std::uint32_t OemKeyScan(char16_t oemCharacter) override;

  private:
    // The key the sender can type `c` with, and whether it takes Shift.
    struct SenderKey {
        KeyCode keycode;
        bool shift;
    };
    std::optional<SenderKey> KeyForSender(char16_t c);

    X11Keymap& keymap_;
};

}  // namespace tavro::x11
