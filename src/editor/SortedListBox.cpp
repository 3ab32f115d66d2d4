#include "editor/SortedListBox.h"

#include <QSignalBlocker>

#include "text/TextCase.h"

namespace tavro {

SortedListBox::SortedListBox(const QString& name, QWidget* parent) : QListWidget(parent) {
    setObjectName(name);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void SortedListBox::Clear() {
    const QSignalBlocker quiet(this);
    clear();
}

void SortedListBox::AddItem(const std::u16string& text) {
    const std::u16string key = UpperCase(text);
    int place = count();
    for (int row = 0; row < count(); ++row) {
        if (key < UpperCase(List(row))) {
            place = row;
            break;
        }
    }
    const QSignalBlocker quiet(this);
    insertItem(place, QString::fromStdU16String(text));
}

std::u16string SortedListBox::List(int index) {
    const QListWidgetItem* line = item(index);
    return line ? line->text().toStdU16String() : std::u16string();
}

void SortedListBox::RemoveItem(int index) {
    const QSignalBlocker quiet(this);
    delete takeItem(index);
    setCurrentRow(-1);
}

void SortedListBox::SetListIndex(int index) {
    const QSignalBlocker quiet(this);
    setCurrentRow(index);
    if (index >= 0) {
        scrollToItem(item(index));
    }
}

}  // namespace tavro
