#pragma once

#include <string>
#include <vector>

#include "platform/ListBox.h"

namespace tavro::fake {

// A sorted list box: items keep alphabetical order, ignoring case.
class FakeListBox final : public ListBox {
  public:
    void Clear() override;
    void AddItem(const std::u16string& text) override;
    int ListCount() override { return static_cast<int>(items_.size()); }
    std::u16string List(int index) override;
    int ListIndex() override { return selected_; }
    void RemoveItem(int index) override;

    void Select(int index) { selected_ = index; }
    const std::vector<std::u16string>& Items() const { return items_; }

  private:
    std::vector<std::u16string> items_;
    int selected_ = -1;
};

}  // namespace tavro::fake
