#include "store/TriggerTable.h"

#include <algorithm>

#include "platform/MessageBoxes.h"

namespace tavro {

namespace {

constexpr std::u16string_view kSeparator = u" - ";
constexpr std::u16string_view kLastTriggerText =
    u"You cannot delete the last trigger. Please add a new trigger before deleting this one.";
constexpr std::u16string_view kLastTriggerTitle = u"Cannot delete trigger";

std::u16string Joined(const std::u16string& left, const std::u16string& right) {
    std::u16string line = left;
    line += kSeparator;
    line += right;
    return line;
}

}  // namespace

void TriggerTable::ClearTriggers() {
    slots_.fill(TriggerRecord{});
}

bool TriggerTable::DeleteTrigger(int slot, MessageBoxes& messages) {
    // Deleted slots stay in use until a save drops them; they do not count.
    const int left = TriggersInUse() - (Slot(slot).Trigger.empty() ? 0 : 1);
    if (left == 0) {
        messages.ShowMessage(std::u16string(kLastTriggerText), std::u16string(kLastTriggerTitle),
                             MessageIcon::Exclamation);
        return false;
    }
    Slot(slot).Trigger.clear();
    return true;
}

int TriggerTable::TriggersInUse() const {
    return static_cast<int>(
        std::count_if(slots_.begin(), slots_.begin() + UsedSlots(),
                      [](const TriggerRecord& record) { return !record.Trigger.empty(); }));
}

std::u16string TriggerTable::ListLine(int slot) const {
    return Joined(Slot(slot).Trigger, Slot(slot).Display);
}

std::u16string TriggerTable::TrayEntry(int slot) const {
    return Joined(Slot(slot).Display, Slot(slot).Type);
}

}  // namespace tavro
