#pragma once

#include "platform/Shell.h"

namespace tavro::x11 {

// Opens files, folders and addresses with the desktop's opener, xdg-open,
// found on PATH at each call. The whole file string is its one argument —
// no shell reads it — and it runs in the given directory, in a session of
// its own. The call does not wait for it, and leaves no process to reap.
class X11Shell final : public Shell {
  public:
    // More than 32 when the opener was started, as on Windows. The operation
    // is always "open", and xdg-open takes no parameters.
    std::intptr_t ShellExecuteA(WindowHandle owner, const std::u16string& operation,
                                const std::u16string& file, const std::u16string& parameters,
                                const std::u16string& directory, int showCommand) override;
};

}  // namespace tavro::x11
