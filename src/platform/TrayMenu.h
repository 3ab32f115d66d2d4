#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavro {

inline constexpr std::u16string_view kTraySeparator = u"-";

// The trigger entries of the tray menu, above its "Open" entry.
class TrayMenu {
  public:
    virtual ~TrayMenu() = default;
    // Shows exactly these entries, in order ("-" is a separator), and hides
    // any others.
    virtual void ShowTrayEntries(const std::vector<std::u16string>& captions) = 0;
};

}  // namespace tavro
