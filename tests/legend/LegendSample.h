#pragma once

#include <filesystem>
#include <string>

namespace tavro {
class TriggerTable;
struct TriggerRecord;
}  // namespace tavro

namespace tavro::test {

// Puts a trigger into the next slot of the table.
TriggerRecord& AddTrigger(TriggerTable& triggers, std::u16string trigger, std::u16string display,
                          std::u16string type);

// Fills the table with triggers of all four types and one of none, ordered
// as a load orders them, and puts their content files into the program
// folder's data folder: a GIF, a Windows bitmap, a JPEG (stored under a path
// from before the folder moved), a PNG, a rich-text letter, and two files
// that are missing. Texts with several lines and with labels in them.
void FillLegendSample(TriggerTable& triggers, const std::filesystem::path& programFolder);

}  // namespace tavro::test
