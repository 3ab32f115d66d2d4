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

namespace tavro::test {

// A fresh program folder in the temporary folder, removed afterwards.
class TemporaryFolder {
  public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

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

    TemporaryFolder folder;
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
