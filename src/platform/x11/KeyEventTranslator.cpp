#include "platform/x11/KeyEventTranslator.h"

#include "platform/x11/X11Keymap.h"

namespace tavro::x11 {

namespace {

constexpr std::uint16_t kExtendedKey = 0x100;
constexpr std::uint16_t kAltContext = 0x2000;
constexpr std::uint16_t kPreviouslyDown = 0x4000;
constexpr std::uint16_t kReleased = 0x8000;

}  // namespace

KeyEvent KeyEventTranslator::Translate(KeyCode keycode, bool down, unsigned int state) {
    const X11Keymap::Key& key = keymap_.KeyOf(keycode);
    // Shift turns the keypad's digits into its movement keys and back.
    const bool numLock = (state & keymap_.NumLockMask()) != 0;
    const bool shift = (state & ShiftMask) != 0;
    const std::uint8_t virtualKey =
        numLock != shift ? key.virtualKey : key.virtualKeyWithoutNumLock;

    const bool repeated = down && pressed_[keycode];
    pressed_[keycode] = down;
    altPressed_[keycode] = down && virtualKey == kVirtualKeyAlt;

    std::uint16_t keystate = key.pc.scanCode;
    if (key.pc.extended) {
        keystate |= kExtendedKey;
    }
    if (altPressed_.any()) {
        keystate |= kAltContext;
    }
    if (!down) {
        keystate |= kPreviouslyDown | kReleased;
    } else if (repeated) {
        keystate |= kPreviouslyDown;
    }
    return KeyEvent{.keyCode = virtualKey,
                    .keystate = static_cast<std::int16_t>(keystate),
                    .level = {.shift = shift,
                              .capsLock = (state & LockMask) != 0,
                              .altGr = (state & keymap_.LevelThreeMask()) != 0}};
}

}  // namespace tavro::x11
