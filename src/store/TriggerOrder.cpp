#include "store/TriggerOrder.h"

#include <algorithm>
#include <string_view>

#include "text/TextCase.h"

namespace tavro {

namespace {

bool LessIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(),
        [](char16_t x, char16_t y) { return UpperCase(x) < UpperCase(y); });
}

bool ComesBefore(const TriggerRecord& a, const TriggerRecord& b) {
    if (LessIgnoringCase(a.Type, b.Type)) {
        return true;
    }
    return !LessIgnoringCase(b.Type, a.Type) && LessIgnoringCase(a.Display, b.Display);
}

}  // namespace

void SortTriggers(std::vector<TriggerRecord>& triggers) {
    std::stable_sort(triggers.begin(), triggers.end(), ComesBefore);
}

}  // namespace tavro
