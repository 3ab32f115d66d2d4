#pragma once

#include <string>

#include "platform/Clock.h"

namespace tavro {

// "Dec 5 2026": abbreviated month, day without leading zero, four-digit year.
std::u16string FormatReplacementDate(const LocalTime& time);
// "6:41 pm": hour 1 to 12, two-digit minutes, am or pm.
std::u16string FormatReplacementTime(const LocalTime& time);

// Replaces the first "%date%" and then the first "%time%" of the text; later
// occurrences stay as they are.
void ReplaceDateAndTime(std::u16string& text, const LocalTime& time);

}  // namespace tavro
