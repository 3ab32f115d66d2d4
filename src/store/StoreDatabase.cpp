#include "store/StoreDatabase.h"

#include "platform/ListBox.h"
#include "platform/MessageBoxes.h"
#include "store/Database.h"
#include "store/StoreStatements.h"
#include "store/TriggerOrder.h"
#include "store/TriggerTable.h"
#include "text/Utf8.h"

namespace tavro {

std::unique_ptr<Database> OpenStoreDatabase(DatabaseEngine& engine,
                                            const std::filesystem::path& programFolder,
                                            MessageBoxes& messages) {
    try {
        return engine.OpenDatabase(programFolder / kDatabaseFileName);
    } catch (const DatabaseError& error) {
        ShowDatabaseError(messages, error);
        return nullptr;
    }
}

void ShowDatabaseError(MessageBoxes& messages, const DatabaseError& error) {
    messages.ShowMessage(FromUtf8(error.what()), u"Error opening database", MessageIcon::Critical);
}

void ShowCannotSave(MessageBoxes& messages) {
    messages.ShowMessage(u"Cannot Save Data", u"Error saving database.", MessageIcon::Exclamation);
}

ApplicationList ReadApplicationList(Database& database, std::string_view query,
                                    std::string_view column) {
    ApplicationList list;
    const auto rows = database.OpenRecordset(query);
    for (; !rows->Eof(); rows->MoveNext()) {
        std::u16string fragment = rows->Field(column).value_or(u"");
        if (!fragment.empty()) {
            list.push_back(std::move(fragment));
        }
    }
    rows->Close();
    return list;
}

std::vector<TriggerRecord> ReadTriggerRows(Recordset& rows) {
    std::vector<TriggerRecord> records;
    for (; !rows.Eof(); rows.MoveNext()) {
        TriggerRecord& record = records.emplace_back();
        record.Trigger = rows.Field("Trigger").value_or(u"");
        record.Display = rows.Field("Display").value_or(u"");
        record.ReplaceText = rows.Field("ReplaceText").value_or(u"");
        record.Type = rows.Field("Type").value_or(u"");
        record.CommandLine = rows.Field("CommandLine").value_or(u"");
        record.ReplaceImageFile = rows.Field("ReplaceImageFile").value_or(u"");
        record.ReplaceRTFFile = rows.Field("ReplaceRTFFile").value_or(u"");
    }
    // The query's own ordering ignores the case of ASCII letters only.
    SortTriggers(records);
    return records;
}

void AppendTriggerRow(Recordset& table, const TriggerRecord& record) {
    table.AddNew();
    table.SetField("Trigger", record.Trigger);
    table.SetField("Display", record.Display);
    table.SetField("ReplaceText", record.ReplaceText);
    table.SetField("Type", record.Type);
    table.SetField("CommandLine", record.CommandLine);
    table.SetField("ReplaceImageFile", record.ReplaceImageFile);
    table.SetField("ReplaceRTFFile", record.ReplaceRTFFile);
    table.Update();
}

void AppendApplicationRows(Database& database, std::string_view table, std::string_view column,
                           const ApplicationList& fragments) {
    const auto rows = database.OpenRecordset(table, kDynaset);
    for (const std::u16string& fragment : fragments) {
        rows->AddNew();
        rows->SetField(column, fragment);
        rows->Update();
    }
    rows->Close();
}

void FillApplicationListBox(ListBox& listBox, const ApplicationList& list) {
    listBox.Clear();
    for (const std::u16string& fragment : list) {
        listBox.AddItem(fragment);
    }
}

}  // namespace tavro
