#include "platform/x11/X11KeyboardLayout.h"

#include "text/Utf16.h"

namespace tavro::x11 {

namespace {

constexpr std::size_t kShiftKey = 0x10;
constexpr std::size_t kCtrlKey = 0x11;
constexpr std::size_t kAltKey = 0x12;
constexpr std::uint8_t kDown = 0x80;
constexpr std::uint8_t kToggled = 0x01;
// The shift-state bit of VkKeyScanA (high byte) and OemKeyScan (high word).
constexpr std::uint32_t kShiftState = 1;

bool IsAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

}  // namespace

KeyboardLayoutHandle X11KeyboardLayout::GetKeyboardLayout() {
    return static_cast<KeyboardLayoutHandle>(keymap_.Group());
}

std::uint32_t X11KeyboardLayout::MapVirtualKeyExA(std::uint32_t code, std::uint32_t mapType,
                                                  KeyboardLayoutHandle) {
    if (mapType != kMapVirtualKeyToScanCode || code > 0xFF) {
        return 0;
    }
    const KeyCode keycode = keymap_.KeycodeOf(static_cast<std::uint8_t>(code));
    return keycode == 0 ? 0 : keymap_.KeyOf(keycode).pc.scanCode;
}

int X11KeyboardLayout::ToAscii(std::uint32_t virtualKey, std::uint32_t, const KeyboardState& state,
                               std::uint32_t& output, std::uint32_t) {
    output = 0;
    const KeyCode keycode =
        virtualKey > 0xFF ? 0 : keymap_.KeycodeOf(static_cast<std::uint8_t>(virtualKey));
    if (keycode == 0) {
        return 0;
    }
    unsigned int modifiers = 0;
    if ((state[kShiftKey] & kDown) != 0) {
        modifiers |= ShiftMask;
    }
    if ((state[kVirtualKeyCapsLock] & kToggled) != 0) {
        modifiers |= LockMask;
    }
    if ((state[kCtrlKey] & kDown) != 0 && (state[kAltKey] & kDown) != 0) {
        modifiers |= keymap_.LevelThreeMask();
    }
    // The keypad's digit keys are found by their Num Lock virtual keys.
    const X11Keymap::Key& key = keymap_.KeyOf(keycode);
    if (key.virtualKey != key.virtualKeyWithoutNumLock) {
        modifiers |= keymap_.NumLockMask();
    }
    const char32_t c = keymap_.CharacterOf(keycode, modifiers);
    return c == 0 ? 0 : PackUtf16(c, output);
}

std::int16_t X11KeyboardLayout::VkKeyScanA(char16_t c) {
    const std::optional<SenderKey> key = KeyForSender(c);
    if (!key) {
        return -1;
    }
    const std::uint32_t shiftState = key->shift ? kShiftState : 0;
    return static_cast<std::int16_t>((shiftState << 8) | keymap_.KeyOf(key->keycode).virtualKey);
}

std::uint32_t X11KeyboardLayout::OemKeyScan(char16_t oemCharacter) {
    const std::optional<SenderKey> key = KeyForSender(oemCharacter);
    if (!key) {
        return 0xFFFFFFFF;
    }
    const std::uint32_t shiftState = key->shift ? kShiftState : 0;
    return (shiftState << 16) | keymap_.KeyOf(key->keycode).pc.scanCode;
}

std::optional<X11KeyboardLayout::SenderKey> X11KeyboardLayout::KeyForSender(char16_t c) {
    if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
        return std::nullopt;
    }
    const std::optional<X11Keymap::CharacterKey> key = keymap_.KeyTyping(c);
    if (!key) {
        return std::nullopt;
    }
    const bool shift = UsKeyboardNeedsShift(c).value_or(false);
    if (key->modifiers != (shift ? ShiftMask : 0U) ||
        (key->capsLockChangesIt && !IsAsciiLetter(c))) {
        return std::nullopt;
    }
    // The sender presses the key by its virtual key: that must lead back here.
    if (keymap_.KeycodeOf(keymap_.KeyOf(key->keycode).virtualKey) != key->keycode) {
        return std::nullopt;
    }
    return SenderKey{key->keycode, shift};
}

}  // namespace tavro::x11
