#pragma once

#include <QListWidget>

#include "platform/ListBox.h"

namespace tavro {

// A list box that keeps its lines in alphabetical order, ignoring case;
// lines that read alike keep the order in which they were added.
class SortedListBox final : public QListWidget, public ListBox {
  public:
    explicit SortedListBox(const QString& name, QWidget* parent = nullptr);

    void Clear() override;
    void AddItem(const std::u16string& text) override;
    int ListCount() override { return count(); }
    std::u16string List(int index) override;
    int ListIndex() override { return currentRow(); }
    void RemoveItem(int index) override;

    // Selects the line without raising the list's own selection signals.
    void SetListIndex(int index);
};

}  // namespace tavro
