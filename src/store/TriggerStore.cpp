#include "store/TriggerStore.h"

#include "platform/ListBox.h"
#include "platform/ProgramExit.h"
#include "platform/StagingArea.h"
#include "platform/TrayMenu.h"
#include "store/ApplicationLists.h"
#include "store/Database.h"
#include "store/StoreDatabase.h"
#include "store/StoreStatements.h"

namespace tavro {

namespace {

constexpr int kExitDatabaseUnreadable = 1;

}  // namespace

TriggerStore::TriggerStore(const Dependencies& dependencies) : d_(dependencies) {}

void TriggerStore::LoadTriggers() {
    const std::unique_ptr<Database> database =
        OpenStoreDatabase(d_.engine, d_.programFolder, d_.messages);
    if (!database) {
        d_.exit.EndProgram(kExitDatabaseUnreadable);
        return;
    }
    std::vector<TriggerRecord> records;
    ApplicationLists applications;
    try {
        const auto rows = database->OpenRecordset(kSelectTriggers);
        try {
            rows->MoveFirst();
        } catch (const DatabaseError&) {
            // No triggers at all: keep everything as it is.
            database->Close();
            return;
        }
        records = ReadTriggerRows(*rows);
        rows->Close();
        applications.SendKeyApps =
            ReadApplicationList(*database, kSelectSendKeyApps, kSendKeyAppColumn);
        applications.TextOnlyApps =
            ReadApplicationList(*database, kSelectTextOnlyApps, kTextOnlyAppColumn);
        database->Close();
    } catch (const DatabaseError& error) {
        ShowDatabaseError(d_.messages, error);
        d_.exit.EndProgram(kExitDatabaseUnreadable);
        return;
    }
    FillTriggerTable(std::move(records));
    d_.applications = std::move(applications);
    FillApplicationListBox(d_.lstSendKey, d_.applications.SendKeyApps);
    FillApplicationListBox(d_.lstTextOnly, d_.applications.TextOnlyApps);
    d_.staging.PrepareContentFiles();
    d_.staging.ShowTrigger(d_.triggers.CurrentTrigger);
}

void TriggerStore::FillTriggerTable(std::vector<TriggerRecord> records) {
    TriggerTable& table = d_.triggers;
    d_.lstTriggers.Clear();
    table.ClearTriggers();
    overflowRows_.clear();
    std::vector<std::u16string> trayEntries;
    int slot = 0;
    for (TriggerRecord& record : records) {
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
    // A table without rows would load nothing at the next start.
    if (d_.triggers.TriggersInUse() == 0 && overflowRows_.empty()) {
        ShowCannotSave(d_.messages);
        return false;
    }
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
