#pragma once

#include <array>
#include <string>

namespace tavro {

inline constexpr int kApplicationSlots = 21;

// Caption fragments, "" in a slot not in use.
using ApplicationList = std::array<std::u16string, kApplicationSlots>;

struct ApplicationLists {
    // Applications that receive replacements as keystrokes.
    ApplicationList SendKeyApps;
    // Applications that receive plain text only.
    ApplicationList TextOnlyApps;
};

}  // namespace tavro
