#pragma once

#include <cstdint>
#include <string>

#include "platform/PlatformTypes.h"

namespace tavro {

inline constexpr int kShowNormal = 1;  // SW_SHOWNORMAL

// Opens files, folders and command lines with the program the desktop
// associates with them.
class Shell {
  public:
    virtual ~Shell() = default;
    virtual std::intptr_t ShellExecuteA(WindowHandle owner, const std::u16string& operation,
                                        const std::u16string& file,
                                        const std::u16string& parameters,
                                        const std::u16string& directory, int showCommand) = 0;
};

}  // namespace tavro
