#pragma once

#include <string>
#include <vector>

namespace tavro {

// Caption fragments in the order the database holds them; never "". The
// lists hold as many fragments as the user adds.
using ApplicationList = std::vector<std::u16string>;

struct ApplicationLists {
    // Applications that receive replacements as keystrokes.
    ApplicationList SendKeyApps;
    // Applications that receive plain text only.
    ApplicationList TextOnlyApps;
};

}  // namespace tavro
