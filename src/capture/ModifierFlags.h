#pragma once

namespace tavro {

// The modifier keys as the keyboard hook last reported them.
struct ModifierFlags {
    bool ShiftDown = false;
    bool CtrlDown = false;
    bool AltDown = false;
    bool CapsLockOn = false;
};

}  // namespace tavro
