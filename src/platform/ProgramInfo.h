#pragma once

#include <string>

#include "platform/PlatformTypes.h"

namespace tavro {

// What the program knows about itself.
class ProgramInfo {
  public:
    virtual ~ProgramInfo() = default;
    // The main window's own handle.
    virtual WindowHandle MainWindowHandle() = 0;
    // The name of the main window's control that has the focus ("lstTriggers",
    // "txtTrigger", ...); "" when none has it.
    virtual std::u16string ActiveControlName() = 0;
    // The folder of the executable.
    virtual std::u16string ProgramFolder() = 0;
};

}  // namespace tavro
