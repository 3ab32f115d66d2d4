#pragma once

#include <array>
#include <string>

namespace tavro {

class MessageBoxes;

inline constexpr int kTriggerSlots = 21;

// One trigger; the fields are named after the columns of tblTriggers.
struct TriggerRecord {
    std::u16string Trigger;  // "" marks a deleted slot
    std::u16string Display;
    std::u16string ReplaceText;
    std::u16string ReplaceRTFFile;
    std::u16string ReplaceImageFile;
    std::u16string CommandLine;
    std::u16string Type;

    bool operator==(const TriggerRecord&) const = default;
};

// The user's triggers in memory: 21 slots, of which 0 to TriggerCount - 1 are
// in use. Slots never move in memory, so a reference to a field stays valid
// (its content may change when the table is reloaded).
class TriggerTable {
  public:
    TriggerRecord& Slot(int slot) { return slots_.at(static_cast<std::size_t>(slot)); }
    const TriggerRecord& Slot(int slot) const { return slots_.at(static_cast<std::size_t>(slot)); }

    // Empties all fields of all slots; keeps TriggerCount and CurrentTrigger.
    void ClearTriggers();
    // Marks the slot deleted. Refuses, with a message, when no trigger
    // would be left: the table is never saved empty. Returns whether the
    // slot was deleted.
    bool DeleteTrigger(int slot, MessageBoxes& messages);

    // The slots to look at: TriggerCount, kept within the table.
    int UsedSlots() const {
        return TriggerCount < 0 ? 0 : (TriggerCount > kTriggerSlots ? kTriggerSlots : TriggerCount);
    }

    // The slots in use that hold a trigger: TriggerCount less the deleted
    // slots that no save has dropped yet.
    int TriggersInUse() const;

    // The line of the trigger list: Trigger - Display.
    std::u16string ListLine(int slot) const;
    // The entry of the tray menu: Display - Type.
    std::u16string TrayEntry(int slot) const;

    int TriggerCount = 0;
    int CurrentTrigger = 0;
    bool TriggersDirty = false;

  private:
    std::array<TriggerRecord, kTriggerSlots> slots_;
};

}  // namespace tavro
