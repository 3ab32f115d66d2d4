#include "store/ApplicationListEditor.h"

#include "platform/InputBox.h"
#include "platform/ListBox.h"
#include "store/ApplicationLists.h"
#include "store/Database.h"
#include "store/StoreDatabase.h"
#include "store/StoreStatements.h"

namespace tavro {

namespace {

constexpr std::u16string_view kAddTitle = u"Enter application caption";
constexpr std::u16string_view kAddPrompt =
    u"Please enter the portion of the caption of the application you wish to add which does not "
    u"change. For example, Microsoft Word has a caption which says 'Microsoft Word - (the name of "
    u"the open document)'. The part which does not change is 'Microsoft Word'. You would enter "
    u"'Microsoft Word' in the box below";

void WriteListBox(Database& database, ListBox& listBox, std::string_view table,
                  std::string_view column) {
    const auto rows = database.OpenRecordset(table, kDynaset);
    for (int i = 0; i < listBox.ListCount(); ++i) {
        const std::u16string fragment = listBox.List(i);
        if (!fragment.empty()) {
            rows->AddNew();
            rows->SetField(column, fragment);
            rows->Update();
        }
    }
    rows->Close();
}

}  // namespace

ApplicationListEditor::ApplicationListEditor(const Dependencies& dependencies) : d_(dependencies) {}

void ApplicationListEditor::AddFragment(ListBox& listBox) {
    const std::u16string fragment =
        d_.input.AskText(std::u16string(kAddPrompt), std::u16string(kAddTitle));
    if (!fragment.empty()) {
        listBox.AddItem(fragment);
    }
    SaveAppLists();
}

void ApplicationListEditor::DeleteSelected(ListBox& listBox) {
    const int selected = listBox.ListIndex();
    if (selected < 0 || listBox.List(selected).empty()) {
        return;
    }
    listBox.RemoveItem(selected);
    SaveAppLists();
}

void ApplicationListEditor::SaveAppLists() {
    const std::unique_ptr<Database> database =
        OpenStoreDatabase(d_.engine, d_.programFolder, d_.messages);
    if (!database) {
        return;
    }
    ApplicationLists stored;
    try {
        database->BeginTrans();
        database->Execute(kDeleteSendKeyApps, kFailOnError);
        WriteListBox(*database, d_.lstSendKey, kSendKeyAppsTable, kSendKeyAppColumn);
        stored.SendKeyApps = ReadApplicationList(*database, kSelectSendKeyApps, kSendKeyAppColumn);
        database->Execute(kDeleteTextOnlyApps, kFailOnError);
        WriteListBox(*database, d_.lstTextOnly, kTextOnlyAppsTable, kTextOnlyAppColumn);
        stored.TextOnlyApps =
            ReadApplicationList(*database, kSelectTextOnlyApps, kTextOnlyAppColumn);
        database->CommitTrans();
    } catch (const DatabaseError&) {
        database->Rollback();
        database->Close();
        ShowCannotSave(d_.messages);
        return;
    }
    database->Close();
    d_.applications = std::move(stored);
}

}  // namespace tavro
