#pragma once

#include <cstdint>
#include <string>

#include "platform/PlatformTypes.h"

namespace tavro {

inline constexpr int kShowWindowShow = 5;     // SW_SHOW
inline constexpr int kShowWindowRestore = 9;  // SW_RESTORE

// The desktop's windows and key states.
class WindowSystem {
  public:
    virtual ~WindowSystem() = default;
    virtual WindowHandle GetForegroundWindow() = 0;
    virtual int GetWindowTextLengthA(WindowHandle window) = 0;
    // The caption, cut to maxCount - 1 code units (the room left for the
    // terminating NUL of a buffer of maxCount).
    virtual std::u16string GetWindowTextA(WindowHandle window, int maxCount) = 0;
    virtual bool SetForegroundWindow(WindowHandle window) = 0;
    virtual ThreadId GetWindowThreadProcessId(WindowHandle window) = 0;
    virtual bool AttachThreadInput(ThreadId attach, ThreadId attachTo, bool doAttach) = 0;
    virtual bool IsIconic(WindowHandle window) = 0;
    virtual bool ShowWindow(WindowHandle window, int showCommand) = 0;
    // High bit: the key is down; low bit: the key is toggled (lock keys).
    virtual std::int16_t GetKeyState(int virtualKey) = 0;
};

}  // namespace tavro
