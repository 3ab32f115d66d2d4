#pragma once

#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "store/ApplicationLists.h"
#include "store/TriggerTable.h"

namespace tavro {

class Database;
class DatabaseError;
class DatabaseEngine;
class ListBox;
class MessageBoxes;
class Recordset;

// Opens tavro.mdb in the program folder. On failure shows the engine's
// description under "Error opening database" and returns nullptr.
std::unique_ptr<Database> OpenStoreDatabase(DatabaseEngine& engine,
                                            const std::filesystem::path& programFolder,
                                            MessageBoxes& messages);

// Shows the engine's description under "Error opening database".
void ShowDatabaseError(MessageBoxes& messages, const DatabaseError& error);

// Tells the user that a save stored nothing.
void ShowCannotSave(MessageBoxes& messages);

// The caption fragments of one application table, in row order; null and
// empty values are skipped.
ApplicationList ReadApplicationList(Database& database, std::string_view query,
                                    std::string_view column);

// The trigger rows from the current one to the last, in the order of the
// trigger table (by Type, then Display, without regard to case); null
// columns read as "".
std::vector<TriggerRecord> ReadTriggerRows(Recordset& rows);

// Appends one trigger row to a table opened to append rows.
void AppendTriggerRow(Recordset& table, const TriggerRecord& record);

// Appends one row per fragment to an application table.
void AppendApplicationRows(Database& database, std::string_view table, std::string_view column,
                           const ApplicationList& fragments);

// Rebuilds a list box from an application list.
void FillApplicationListBox(ListBox& listBox, const ApplicationList& list);

}  // namespace tavro
