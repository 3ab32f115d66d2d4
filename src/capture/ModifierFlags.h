#pragma once

#include <cstdint>
#include <vector>

namespace tavro {

// A modifier key as its key-down reported it: the virtual key, and the scan
// code and extended bit that tell the left key from the right one (AltGr is
// the extended Alt).
struct HeldKey {
    std::uint8_t virtualKey = 0;
    std::uint8_t scanCode = 0;
    bool extended = false;

    bool operator==(const HeldKey&) const = default;
};

// The modifier keys as the user last pressed and released them; the
// program's own key events leave them alone.
struct ModifierFlags {
    bool ShiftDown = false;
    bool CtrlDown = false;
    bool AltDown = false;
    bool CapsLockOn = false;
    // The Shift, Ctrl, Alt and Windows keys the user holds, in the order
    // pressed: the keystroke sender releases them before it sends.
    std::vector<HeldKey> heldKeys;
};

}  // namespace tavro
