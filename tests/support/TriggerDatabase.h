#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "store/ApplicationLists.h"
#include "store/Database.h"
#include "store/StoreDatabase.h"
#include "store/StoreStatements.h"
#include "store/TriggerTable.h"
#include "store/sqlite/DatabaseSchema.h"
#include "store/sqlite/SqliteDatabase.h"

namespace tavro::test {

// A trigger as a test writes it into a database.
inline TriggerRecord MakeTrigger(std::u16string trigger, std::u16string display,
                                 std::u16string type, std::u16string replaceText = u"") {
    TriggerRecord record;
    record.Trigger = std::move(trigger);
    record.Display = std::move(display);
    record.Type = std::move(type);
    record.ReplaceText = std::move(replaceText);
    return record;
}

// Makes a new trigger database file holding these triggers and lists.
inline void WriteTriggerDatabase(const std::filesystem::path& path,
                                 const std::vector<TriggerRecord>& triggers,
                                 const ApplicationLists& applications = {}) {
    CreateDatabase(path);
    SqliteEngine engine;
    const auto database = engine.OpenDatabase(path);
    const auto table = database->OpenRecordset(kTriggersTable, kDynaset);
    for (const TriggerRecord& record : triggers) {
        AppendTriggerRow(*table, record);
    }
    table->Close();
    AppendApplicationRows(*database, kSendKeyAppsTable, kSendKeyAppColumn,
                          applications.SendKeyApps);
    AppendApplicationRows(*database, kTextOnlyAppsTable, kTextOnlyAppColumn,
                          applications.TextOnlyApps);
    database->Close();
}

// The triggers a database file holds, in the order the program loads them.
inline std::vector<TriggerRecord> ReadStoredTriggers(const std::filesystem::path& path) {
    SqliteEngine engine;
    const auto database = engine.OpenDatabase(path);
    const auto rows = database->OpenRecordset(kSelectTriggers);
    std::vector<TriggerRecord> triggers;
    try {
        rows->MoveFirst();
    } catch (const DatabaseError&) {
        return triggers;  // no rows
    }
    for (; !rows->Eof(); rows->MoveNext()) {
        TriggerRecord record;
        record.Trigger = rows->Field("Trigger").value_or(u"");
        record.Display = rows->Field("Display").value_or(u"");
        record.ReplaceText = rows->Field("ReplaceText").value_or(u"");
        record.ReplaceRTFFile = rows->Field("ReplaceRTFFile").value_or(u"");
        record.ReplaceImageFile = rows->Field("ReplaceImageFile").value_or(u"");
        record.CommandLine = rows->Field("CommandLine").value_or(u"");
        record.Type = rows->Field("Type").value_or(u"");
        triggers.push_back(std::move(record));
    }
    rows->Close();
    database->Close();
    return triggers;
}

// The fragments of one application table, in row order.
inline ApplicationList ReadStoredApplications(const std::filesystem::path& path,
                                              std::string_view query, std::string_view column) {
    SqliteEngine engine;
    const auto database = engine.OpenDatabase(path);
    ApplicationList fragments = ReadApplicationList(*database, query, column);
    database->Close();
    return fragments;
}

}  // namespace tavro::test
