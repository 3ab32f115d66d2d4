#pragma once

#include <string>

namespace tavro {

// A list box of the main window (lstTriggers, lstSendKey, lstTextOnly). The
// list boxes sort their lines, so an item's index is its place in that order.
class ListBox {
  public:
    virtual ~ListBox() = default;
    virtual void Clear() = 0;
    virtual void AddItem(const std::u16string& text) = 0;
    virtual int ListCount() = 0;
    virtual std::u16string List(int index) = 0;
    // The selected index, -1 when nothing is selected.
    virtual int ListIndex() = 0;
    virtual void RemoveItem(int index) = 0;
};

}  // namespace tavro
