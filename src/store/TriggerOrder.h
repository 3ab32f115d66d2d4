#pragma once

#include <vector>

#include "store/TriggerTable.h"

namespace tavro {

// Puts triggers in the order of the trigger table: by Type, then by Display,
// without regard to case (accented Latin, Greek and Cyrillic letters too).
// Triggers that compare equal keep their order.
void SortTriggers(std::vector<TriggerRecord>& triggers);

}  // namespace tavro
