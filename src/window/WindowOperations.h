#pragma once

#include <string>

#include "platform/PlatformTypes.h"

namespace tavro {

class ProgramInfo;
class Shell;
class WindowSystem;

// Opening with the shell, the caption of the window in front, bringing a
// window to the front, keeping one on top, and the state of a key.
class WindowOperations {
  public:
    WindowOperations(WindowSystem& windows, Shell& shell, ProgramInfo& program);

    // Opens the whole string (a file, a folder or a command line) with the
    // shell's "Open" verb, in the program folder. Failures are not reported.
    void ShellOpen(const std::u16string& file);
    // The caption of the window in front followed by its terminating NUL.
    std::u16string GetForegroundCaption();
    // Brings the window to the front, restoring it when minimised; returns
    // whether the last attempt succeeded.
    bool ActivateWindow(WindowHandle window);
    // Whether the key is down or toggled on.
    bool KeyStateOn(int virtualKey);

  private:
    WindowSystem& windows_;
    Shell& shell_;
    ProgramInfo& program_;
};

}  // namespace tavro
