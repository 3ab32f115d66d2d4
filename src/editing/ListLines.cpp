#include "editing/ListLines.h"

#include "platform/ListBox.h"
#include "store/TriggerTable.h"

namespace tavro {

int OccurrenceOfRow(ListBox& list, int row) {
    const std::u16string line = list.List(row);
    int occurrence = 0;
    for (int i = 0; i < row; ++i) {
        if (list.List(i) == line) {
            ++occurrence;
        }
    }
    return occurrence;
}

std::optional<int> SlotForListLine(const TriggerTable& table, const std::u16string& line,
                                   int occurrence) {
    std::optional<int> found;
    int seen = 0;
    for (int slot = 0; slot < table.UsedSlots(); ++slot) {
        if (table.ListLine(slot) == line) {
            found = slot;
            if (seen++ == occurrence) {
                break;
            }
        }
    }
    return found;
}

int ListRowForSlot(const TriggerTable& table, ListBox& list, int slot) {
    if (slot < 0 || slot >= table.UsedSlots()) {
        return -1;
    }
    const std::u16string line = table.ListLine(slot);
    int occurrence = 0;
    for (int other = 0; other < slot; ++other) {
        if (table.ListLine(other) == line) {
            ++occurrence;
        }
    }
    for (int row = 0; row < list.ListCount(); ++row) {
        if (list.List(row) == line && occurrence-- == 0) {
            return row;
        }
    }
    return -1;
}

}  // namespace tavro
