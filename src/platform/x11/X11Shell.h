#pragma once

#include "platform/Shell.h"

namespace tavro::x11 {

// Opens what the whole file string names, as the desktop's shell would:
// - a program: an executable file at that path (relative paths from the
//   given directory) or of that name on PATH, run without arguments;
// - an application's desktop entry: a .desktop file, or its ID
//   ("org.gnome.Calculator.desktop") in the XDG applications folders, run
//   as its Exec line says (DesktopEntry.h), in a terminal when it asks;
// - anything else (files, folders, addresses, and executable files that are
//   no program): the desktop's opener, xdg-open, found on PATH at each
//   call, with the whole string as its one argument.
// No shell reads the string. The program runs in the given directory (a
// desktop entry's own Path first), in a session of its own; the call does
// not wait for it, and leaves no process to reap.
class X11Shell final : public Shell {
  public:
    // More than 32 when something was started, as on Windows. The operation
    // is always "open", and nothing takes parameters.
    std::intptr_t ShellExecuteA(WindowHandle owner, const std::u16string& operation,
                                const std::u16string& file, const std::u16string& parameters,
                                const std::u16string& directory, int showCommand) override;
};

}  // namespace tavro::x11
