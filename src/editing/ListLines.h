#pragma once

#include <optional>
#include <string>

namespace tavro {

class ListBox;
class TriggerTable;

// The trigger list shows one line, Trigger - Display, per slot in use and
// sorts them; a line is found again by its text, never by its place. Lines
// that read the same stand for their slots in slot order: the first of them
// for the lowest slot, so that every slot has a line that reaches it.

// How many lines above `row` read the same as the line at `row`.
int OccurrenceOfRow(ListBox& list, int row);

// The slot that the `occurrence`-th line (from 0) reading `line` stands for;
// the last slot giving that line when there are fewer; none when no slot in
// use gives it.
std::optional<int> SlotForListLine(const TriggerTable& table, const std::u16string& line,
                                   int occurrence);

// The row of the list that stands for the slot; -1 when the list has no such
// line (a slot not saved yet, or edited since the list was filled).
int ListRowForSlot(const TriggerTable& table, ListBox& list, int slot);

}  // namespace tavro
