#include "platform/fake/FakeListBox.h"

#include <algorithm>

#include "text/TextCase.h"

namespace tavro::fake {

void FakeListBox::Clear() {
    items_.clear();
    selected_ = -1;
}

void FakeListBox::AddItem(const std::u16string& text) {
    const std::u16string key = UpperCase(text);
    const auto place =
        std::upper_bound(items_.begin(), items_.end(), key,
                         [](const std::u16string& wanted, const std::u16string& item) {
                             return wanted < UpperCase(item);
                         });
    items_.insert(place, text);
}

std::u16string FakeListBox::List(int index) {
    return index >= 0 && index < ListCount() ? items_[static_cast<std::size_t>(index)] : u"";
}

void FakeListBox::RemoveItem(int index) {
    if (index >= 0 && index < ListCount()) {
        items_.erase(items_.begin() + index);
    }
    selected_ = -1;
}

}  // namespace tavro::fake
