#pragma once

#include <X11/Xlib.h>

#include <bitset>

#include "platform/KeyboardHook.h"

namespace tavro::x11 {

class X11Keymap;

// Turns the key presses and releases the X server reports into the hook's
// key events: the virtual key, and as keystate the upper half of the flags
// Windows gives a key message — the scan code, 0x100 for an extended key,
// 0x2000 while Alt is held, 0x4000 on a press repeated while the key is held
// (auto-repeat shows as presses without releases) and 0xC000 on a release;
// and the Shift, Caps Lock and AltGr (third level) the key was typed with.
class KeyEventTranslator {
  public:
    explicit KeyEventTranslator(X11Keymap& keymap) : keymap_(keymap) {}

    // `state` is the core modifier state before the event, as the event
    // carries it; Num Lock in it decides the keypad's virtual keys.
    KeyEvent Translate(KeyCode keycode, bool down, unsigned int state);

  private:
    X11Keymap& keymap_;
    std::bitset<256> pressed_;
    std::bitset<256> altPressed_;
};

}  // namespace tavro::x11
