#pragma once

#include <string>

namespace tavro {

// The key-buffer page of the main window: the four modifier check boxes and
// the views of the key buffer and the key diary.
class KeyBufferPage {
  public:
    virtual ~KeyBufferPage() = default;
    // chkAlt, chkCtrl, chkShift, chkCapsLock: true ticks the box.
    virtual void SetModifierChecks(bool alt, bool ctrl, bool shift, bool capsLock) = 0;
    // txtBuffer and txtDiary.
    virtual void SetBufferTexts(const std::u16string& keyBuffer,
                                const std::u16string& keyDiary) = 0;
};

}  // namespace tavro
