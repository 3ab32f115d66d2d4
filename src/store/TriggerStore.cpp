#include "store/TriggerStore.h"

#include "platform/ListBox.h"
#include "platform/ProgramExit.h"
#include "platform/StagingArea.h"
#include "platform/TrayMenu.h"
#include "store/Database.h"
#include "store/StoreDatabase.h"
#include "store/StoreStatements.h"

namespace tavro {

namespace {

constexpr int kExitDatabaseUnreadable = 1;

TriggerRecord ReadRecord(Recordset& rows) {
    TriggerRecord record;
    record.Trigger = rows.Field("Trigger").value_or(u"");
    record.Display = rows.Field("Display").value_or(u"");
    record.ReplaceText = rows.Field("ReplaceText").value_or(u"");
    record.Type = rows.Field("Type").value_or(u"");
    record.CommandLine = rows.Field("CommandLine").value_or(u"");
    record.ReplaceImageFile = rows.Field("ReplaceImageFile").value_or(u"");
    record.ReplaceRTFFile = rows.Field("ReplaceRTFFile").value_or(u"");
    return record;
}

}  // namespace

TriggerStore::TriggerStore(const Dependencies& dependencies) : d_(dependencies) {}

void TriggerStore::LoadTriggers() {
    const std::unique_ptr<Database> database =
        OpenStoreDatabase(d_.engine, d_.programFolder, d_.messages);
    if (!database) {
        d_.exit.EndProgram(kExitDatabaseUnreadable);
        return;
    }
    try {
        const auto rows = database->OpenRecordset(kSelectTriggers);
        try {
            rows->MoveFirst();
        } catch (const DatabaseError&) {
            // No triggers at all: keep everything as it is.
            database->Close();
            return;
        }
        ReadTriggers(*rows);
        rows->Close();
        d_.applications.SendKeyApps =
            ReadApplicationList(*database, kSelectSendKeyApps, kSendKeyAppColumn);
        d_.applications.TextOnlyApps =
            ReadApplicationList(*database, kSelectTextOnlyApps, kTextOnlyAppColumn);
        database->Close();
    } catch (const DatabaseError& error) {
        ShowDatabaseError(d_.messages, error);
        d_.exit.EndProgram(kExitDatabaseUnreadable);
        return;
    }
    FillApplicationListBox(d_.lstSendKey, d_.applications.SendKeyApps);
    FillApplicationListBox(d_.lstTextOnly, d_.applications.TextOnlyApps);
    d_.staging.ShowTrigger(d_.triggers.CurrentTrigger);
}

void TriggerStore::ReadTriggers(Recordset& rows) {
    TriggerTable& table = d_.triggers;
    d_.lstTriggers.Clear();
    table.ClearTriggers();
    overflowRows_.clear();
    std::vector<std::u16string> trayEntries;
    int slot = 0;
    for (; !rows.Eof(); rows.MoveNext()) {
        TriggerRecord record = ReadRecord(rows);
        if (slot == kTriggerSlots) {
            overflowRows_.push_back(std::move(record));
            continue;
        }
        table.Slot(slot) = std::move(record);
        d_.lstTriggers.AddItem(table.ListLine(slot));
        if (slot != 0 && table.Slot(slot - 1).Type != table.Slot(slot).Type) {
            trayEntries.emplace_back(kTraySeparator);
        }
        trayEntries.push_back(table.TrayEntry(slot));
        ++slot;
    }
    table.TriggerCount = slot;
    d_.tray.ShowTrayEntries(trayEntries);
}

bool TriggerStore::SaveTriggers() {
    const std::unique_ptr<Database> database =
        OpenStoreDatabase(d_.engine, d_.programFolder, d_.messages);
    if (!database) {
        return false;
    }
    try {
        database->BeginTrans();
        const auto table = database->OpenRecordset(kTriggersTable, kDynaset);
        database->Execute(kDeleteTriggers, kFailOnError);
        for (int slot = 0; slot < d_.triggers.UsedSlots(); ++slot) {
            if (!d_.triggers.Slot(slot).Trigger.empty()) {
                AppendTriggerRow(*table, d_.triggers.Slot(slot));
            }
        }
        for (const TriggerRecord& record : overflowRows_) {
            AppendTriggerRow(*table, record);
        }
        table->Close();
        database->CommitTrans();
    } catch (const DatabaseError&) {
        database->Rollback();
        database->Close();
        ShowCannotSave(d_.messages);
        return false;
    }
    database->Close();
    d_.triggers.TriggersDirty = false;
    return true;
}

bool TriggerStore::mnuSave_Click() {
    const int current = d_.triggers.CurrentTrigger;
    if (!SaveTriggers()) {
        return false;
    }
    d_.triggers.CurrentTrigger = current;
    LoadTriggers();
    return true;
}

}  // namespace tavro
