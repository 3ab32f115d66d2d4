#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include <sqlite3.h>

#include "StoreFixture.h"
#include "store/sqlite/DatabaseSchema.h"

namespace tavro {
namespace {

using test::RunSql;
using test::StoreFixture;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class DatabaseEngineTest : public StoreFixture, public ::testing::Test {
  protected:
    // Loading at start-up: the message the user sees, and the program ends
    // with the table in memory untouched.
    std::string LoadFailure() {
        platform.log.Clear();
        platform.desktop.endedWith = -1;
        triggers.Slot(0).Trigger = u"kept";
        triggers.TriggerCount = 1;
        store.LoadTriggers();
        EXPECT_EQ(platform.desktop.endedWith, 1);
        EXPECT_EQ(triggers.Slot(0).Trigger, u"kept");
        const auto calls = platform.log.CallsStartingWith({"MessageBox"});
        EXPECT_EQ(calls.size(), 1U);
        return calls.empty() ? "" : calls.front();
    }

    // A file another tool made: UTF-16 text, and an index on the names.
    void MakeUtf16Database() {
        std::filesystem::remove(DatabasePath());
        sqlite3* raw = nullptr;
        sqlite3_open(DatabasePath().c_str(), &raw);
        const int result = sqlite3_exec(
            raw,
            "PRAGMA encoding = 'UTF-16le';"
            "CREATE TABLE tblTriggers (Trigger TEXT COLLATE NOCASE, Display TEXT COLLATE "
            "NOCASE, ReplaceText TEXT, ReplaceRTFFile TEXT, ReplaceImageFile TEXT, "
            "CommandLine TEXT, Type TEXT COLLATE NOCASE);"
            "CREATE INDEX byName ON tblTriggers (Display);"
            "CREATE TABLE tblSendKeyApps (SendKeyApp TEXT);"
            "CREATE TABLE tblTextOnlyApps (TextOnlyApp TEXT);",
            nullptr, nullptr, nullptr);
        sqlite3_close(raw);
        ASSERT_EQ(result, SQLITE_OK);
    }
};

TEST_F(DatabaseEngineTest, FilesThatAreNoDatabaseFailToOpenAndStayAsTheyWere) {
    std::filesystem::remove(DatabasePath());
    EXPECT_EQ(LoadFailure(), "MessageBox(\"Could not find file '" + DatabasePath().string() +
                                 "'.\",\"Error opening database\",Critical)");
    EXPECT_FALSE(std::filesystem::exists(DatabasePath()));
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "data"));

    const std::string jet = std::string("\0\1\0\0Standard Jet DB\0", 20) + std::string(4096, 0);
    for (const auto& [bytes, says] :
         {std::pair<std::string, std::string>{"",
                                              "is not a Tavro database: it has no table "
                                              "tblTriggers."},
          {jet, "file is not a database"}}) {
        std::ofstream(DatabasePath(), std::ios::binary) << bytes;
        EXPECT_THAT(LoadFailure(), HasSubstr(says));
        EXPECT_EQ(std::filesystem::file_size(DatabasePath()), bytes.size());
    }
    std::filesystem::remove(DatabasePath());
    std::filesystem::create_directory(DatabasePath());
    EXPECT_THAT(LoadFailure(), HasSubstr("is not a file."));
}

// A column the store does not write would be renumbered or reset by every
// save; a column whose type does not keep text turns "007" into 7 and "1e3"
// into 1000.0.
TEST_F(DatabaseEngineTest, DatabasesOfAnotherShapeFailToOpenNamingWhatIsWrong) {
    const auto triggersWith = [](const std::string& columns) {
        return "DROP TABLE tblTriggers; CREATE TABLE tblTriggers (" + columns +
               "Trigger TEXT, ReplaceText TEXT, ReplaceRTFFile TEXT, ReplaceImageFile TEXT, "
               "CommandLine TEXT, Type TEXT)";
    };
    std::vector<std::pair<std::string, std::string>> cases = {
        {"DROP TABLE tblTextOnlyApps", "it has no table tblTextOnlyApps."},
        {"ALTER TABLE tblTriggers DROP COLUMN ReplaceText",
         "table tblTriggers has no column ReplaceText."},
        {triggersWith("id INTEGER PRIMARY KEY, Display TEXT, "),
         "table tblTriggers has a column id, which Tavro does not write."},
        {triggersWith("Display TEXT, Hits TEXT NOT NULL DEFAULT '0', "),
         "table tblTriggers has a column Hits"},
        {"ALTER TABLE tblTextOnlyApps ADD COLUMN Note TEXT",
         "table tblTextOnlyApps has a column Note"},
        {"DROP TABLE tblSendKeyApps; CREATE TABLE tblSendKeyApps (SendKeyApp INT)",
         "column SendKeyApp of table tblSendKeyApps is of type INT"}};
    for (const std::string type :
         {"INTEGER", "REAL", "NUMERIC", "STRING", "DATE", "BLOB", "VARCHAR INT"}) {
        cases.emplace_back(triggersWith("Display " + type + ", "),
                           "is not a Tavro database: column Display of table tblTriggers is of "
                           "type " +
                               type + ", not text.");
    }
    for (const auto& [sql, says] : cases) {
        SCOPED_TRACE(sql);
        std::filesystem::remove(DatabasePath());
        CreateDatabase(DatabasePath());
        RunSql(DatabasePath(), sql);
        EXPECT_THAT(LoadFailure(), HasSubstr(says));
    }
}

TEST_F(DatabaseEngineTest, EveryTextTypeKeepsValuesExactly) {
    RunSql(DatabasePath(),
           "DROP TABLE tblTriggers; CREATE TABLE tblTriggers (Trigger VARCHAR(20), Display CLOB, "
           "ReplaceText, ReplaceRTFFile NVARCHAR(260), ReplaceImageFile CHARACTER VARYING(260), "
           "CommandLine TEXT COLLATE NOCASE, Type text);"
           "INSERT INTO tblTriggers VALUES ('007', '1e3', '0x10', '1.50', '-0', ' 12', 'Text')");
    store.LoadTriggers();
    triggers.TriggersDirty = true;
    store.mnuSave_Click();
    EXPECT_THAT(platform.log.CallsStartingWith({"MessageBox"}), IsEmpty());
    EXPECT_THAT(StoredColumn("SELECT Trigger || '|' || Display || '|' || ReplaceText || '|' || "
                             "ReplaceRTFFile || '|' || ReplaceImageFile || '|' || CommandLine || "
                             "'|' || typeof(Trigger) || typeof(Display) || typeof(ReplaceText) "
                             "FROM tblTriggers"),
                ElementsAre("007|1e3|0x10|1.50|-0| 12|texttexttext"));
}

TEST_F(DatabaseEngineTest, SavingKeepsIndexesValidForEverySqliteTool) {
    MakeUtf16Database();
    for (const char* name : {"'Éb'", "'éa'", "'Γάμμα'", "'βήτα'", "'Борис'", "'анна'", "'b'"}) {
        InsertTrigger(name, name, "'Text'");
    }
    store.LoadTriggers();
    EXPECT_EQ(triggers.Slot(1).Display, u"éa");
    triggers.TriggersDirty = true;
    store.mnuSave_Click();
    EXPECT_FALSE(triggers.TriggersDirty);
    EXPECT_THAT(StoredColumn("PRAGMA integrity_check"), ElementsAre("ok"));
}

TEST_F(DatabaseEngineTest, AValueThatCannotBeReadEndsTheLoadAndKeepsTheTable) {
    // The row is read, but converting its 8 MB of UTF-16 runs out of
    // SQLite's memory.
    MakeUtf16Database();
    InsertTrigger("'t'", "'T'", "'Text'");
    RunSql(DatabasePath(), "INSERT INTO tblSendKeyApps VALUES (printf('%.*c', 4000000, 'x'))");
    sqlite3_hard_heap_limit64(sqlite3_memory_used() + (16 << 20));
    const std::string failure = LoadFailure();
    sqlite3_hard_heap_limit64(0);
    EXPECT_THAT(failure, HasSubstr("out of memory"));
}

}  // namespace
}  // namespace tavro
