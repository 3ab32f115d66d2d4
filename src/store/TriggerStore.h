#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "store/TriggerTable.h"

namespace tavro {

struct ApplicationLists;
class Database;
class DatabaseEngine;
class ListBox;
class MessageBoxes;
class ProgramExit;
class StagingArea;
class TrayMenu;

// Loads the triggers and application lists from tavro.mdb and saves the
// triggers back, each save in one transaction.
class TriggerStore {
  public:
    struct Dependencies {
        TriggerTable& triggers;
        ApplicationLists& applications;
        std::filesystem::path programFolder;
        DatabaseEngine& engine;
        MessageBoxes& messages;
        ProgramExit& exit;
        ListBox& lstTriggers;
        TrayMenu& tray;
        ListBox& lstSendKey;
        ListBox& lstTextOnly;
        StagingArea& staging;
    };

    explicit TriggerStore(const Dependencies& dependencies);

    // Replaces the table, the trigger list, the tray entries and the
    // application lists with the database's contents, then shows the current
    // trigger. A database that cannot be read ends the program; an empty
    // trigger table changes nothing.
    void LoadTriggers();
    // Writes the table; returns whether it was stored. A save that stores
    // nothing says so and keeps the table and its dirty mark. A table
    // without any trigger is never written.
    bool SaveTriggers();
    // Saves, and after a save that stored the table, reloads it. Whether the
    // table was stored.
    bool mnuSave_Click();

  private:
    // Replaces the table, the trigger list and the tray entries with rows
    // read in the table's order.
    void FillTriggerTable(std::vector<TriggerRecord> records);

    Dependencies d_;
    // Rows beyond the table's 21 slots (only a file changed by other means
    // has them): not shown, but written back by every save.
    std::vector<TriggerRecord> overflowRows_;
};

}  // namespace tavro
