#pragma once

#include <cstdint>
#include <string>

#include "platform/PlatformTypes.h"

namespace tavro {

inline constexpr std::uint32_t kKeyEventExtendedKey = 1;  // KEYEVENTF_EXTENDEDKEY
inline constexpr std::uint32_t kKeyEventKeyUp = 2;        // KEYEVENTF_KEYUP

// Synthetic key events, sent to whatever window has the keyboard focus.
class KeyInjector {
  public:
    virtual ~KeyInjector() = default;
    // One key event: flags 0 is a key-down, kKeyEventKeyUp a key-up;
    // kKeyEventExtendedKey with a scan code names the right-hand Ctrl or Alt
    // (AltGr) key, as the key-down of that key reported it.
    virtual void keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                             std::uintptr_t extraInfo) = 0;
    // Types one character for which the keyboard layout has no key, as the
    // platform can best deliver it; Shift and Caps Lock do not change it.
    virtual void TypeCharacter(char32_t codePoint) = 0;
    // The characters without a key that the next TypeCharacter calls will
    // type, in order: a platform that has to make keys for them makes as
    // many as it can at once.
    virtual void PrepareToType(const std::u32string& characters) = 0;
    // From now on key events go out only while this window has the keyboard;
    // the others are dropped. 0 lets them go wherever the focus is. (A
    // delivery checks the window in front before every key, but the focus
    // can move between the check and the key.)
    virtual void KeepToWindow(WindowHandle window) = 0;
    // A pause in a delivery kept to a window: the program's event loop runs
    // before the next key event. A platform that keeps other programs from
    // changing the focus (or sending keys of their own) while the keys go
    // out lets them go on meanwhile.
    virtual void PauseSending() = 0;
};

}  // namespace tavro
