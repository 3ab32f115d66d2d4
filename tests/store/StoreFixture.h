#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/fake/FakeListBox.h"
#include "platform/fake/FakePlatform.h"
#include "store/ApplicationListEditor.h"
#include "store/ApplicationLists.h"
#include "store/TriggerStore.h"
#include "store/TriggerTable.h"
#include "store/sqlite/SqliteDatabase.h"
#include "support/TemporaryFolder.h"

namespace tavro::test {

// The messages of a failed save and of a refused deletion.
inline const std::string kCannotSave =
    "MessageBox(\"Cannot Save Data\",\"Error saving database.\",Exclamation)";
inline const std::string kCannotDeleteLast =
    "MessageBox(\"You cannot delete the last trigger. Please add a new trigger before deleting "
    "this one.\",\"Cannot delete trigger\",Exclamation)";

// Runs SQL on a database file through a connection of its own, as another
// program would.
void RunSql(const std::filesystem::path& database, const std::string& sql);

// A program folder with an empty store database, and the store working on it
// with fake desktop controls.
class StoreFixture {
  public:
    StoreFixture();

    std::filesystem::path DatabasePath() const;
    // Adds rows as another program would; the values are SQL literals.
    void InsertTrigger(const std::string& trigger, const std::string& display,
                       const std::string& type, const std::string& replaceText = "''");
    // The trigger column of tblTriggers, in storage order.
    std::vector<std::string> StoredColumn(const std::string& query) const;

    TemporaryFolder folder{"tavro-store"};
    fake::FakePlatform platform;
    fake::FakeListBox lstTriggers;
    fake::FakeListBox lstSendKey;
    fake::FakeListBox lstTextOnly;
    SqliteEngine engine;
    TriggerTable triggers;
    ApplicationLists applications;
    TriggerStore store;
    ApplicationListEditor lists;
};

}  // namespace tavro::test
