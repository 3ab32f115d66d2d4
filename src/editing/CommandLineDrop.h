#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tavro {

// What a drop on the command line box puts there. Dropped files win over
// dropped text, since file managers offer a file's address as text as well:
// the first file's path when it exists, nothing when it does not. Without
// files, the dropped text; nothing when the drop offers neither.
std::optional<std::u16string> CommandLineFromDrop(const std::vector<std::u16string>& files,
                                                  const std::optional<std::u16string>& text);

}  // namespace tavro
