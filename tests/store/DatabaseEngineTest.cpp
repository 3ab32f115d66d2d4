#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include <sqlite3.h>

#include "StoreFixture.h"
#include "store/Database.h"
#include "store/StoreStatements.h"

namespace tavro {
namespace {

using test::RunSql;
using test::StoreFixture;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

class DatabaseEngineTest : public StoreFixture, public ::testing::Test {
  protected:
    void WriteFile(const std::string& bytes) {
        std::filesystem::remove(DatabasePath());
        std::ofstream(DatabasePath(), std::ios::binary) << bytes;
    }

    // Loading at start-up: the message the user sees, and the program ends.
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

    // tblTriggers made anew with the given column definitions.
    void ReshapeTriggers(const std::string& columns) {
        RunSql(DatabasePath(),
               "DROP TABLE tblTriggers; CREATE TABLE tblTriggers (" + columns + ")");
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

const std::string kTextColumns =
    "Trigger TEXT, ReplaceText TEXT, ReplaceRTFFile TEXT, ReplaceImageFile TEXT, CommandLine TEXT, "
    "Type TEXT";

TEST_F(DatabaseEngineTest, AMissingFileIsNotCreated) {
    std::filesystem::remove(DatabasePath());
    EXPECT_EQ(LoadFailure(), "MessageBox(\"Could not find file '" + DatabasePath().string() +
                                 "'.\",\"Error opening database\",Critical)");
    EXPECT_FALSE(std::filesystem::exists(DatabasePath()));
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "data"));
}

TEST_F(DatabaseEngineTest, FilesThatAreNoStoreDatabaseFailToOpen) {
    WriteFile("");
    EXPECT_THAT(LoadFailure(), HasSubstr("is not a Tavro database: it has no table tblTriggers."));
    EXPECT_EQ(std::filesystem::file_size(DatabasePath()), 0U);

    platform.log.Clear();
    std::string noise(64 * 1024, '\0');
    std::mt19937 random(7);
    for (char& c : noise) {
        c = static_cast<char>(random());
    }
    WriteFile(noise);
    EXPECT_THAT(LoadFailure(), HasSubstr("file is not a database"));

    platform.log.Clear();
    WriteFile(std::string("\0\1\0\0Standard Jet DB\0", 20) + std::string(4096, '\0'));
    EXPECT_THAT(LoadFailure(), HasSubstr("file is not a database"));

    platform.log.Clear();
    std::filesystem::remove(DatabasePath());
    std::filesystem::create_directory(DatabasePath());
    EXPECT_THAT(LoadFailure(), HasSubstr("is not a file."));
}

TEST_F(DatabaseEngineTest, DatabasesOfAnotherShapeFailToOpen) {
    RunSql(DatabasePath(), "DROP TABLE tblTextOnlyApps");
    EXPECT_THAT(LoadFailure(), HasSubstr("it has no table tblTextOnlyApps."));

    platform.log.Clear();
    RunSql(DatabasePath(),
           "CREATE TABLE tblTextOnlyApps (TextOnlyApp TEXT); ALTER TABLE tblTriggers DROP COLUMN "
           "ReplaceText");
    EXPECT_THAT(LoadFailure(), HasSubstr("table tblTriggers has no column ReplaceText."));
}

TEST_F(DatabaseEngineTest, ColumnsThatDoNotKeepTextFailToOpen) {
    // INTEGER, REAL and NUMERIC would make 7 of "007" and 1000.0 of "1e3";
    // STRING and DATE convert numbers by SQLite's rules too.
    for (const std::string type :
         {"INTEGER", "REAL", "NUMERIC", "STRING", "DATE", "BLOB", "VARCHAR INT"}) {
        ReshapeTriggers(kTextColumns + ", Display " + type);
        EXPECT_THAT(LoadFailure(), HasSubstr("is not a Tavro database: column Display of table "
                                             "tblTriggers is of type " +
                                             type + ", not text."));
    }
    ReshapeTriggers(kTextColumns + ", Display TEXT");
    RunSql(DatabasePath(),
           "DROP TABLE tblSendKeyApps; CREATE TABLE tblSendKeyApps (SendKeyApp INT)");
    EXPECT_THAT(LoadFailure(),
                HasSubstr("column SendKeyApp of table tblSendKeyApps is of type INT"));
}

TEST_F(DatabaseEngineTest, ColumnsTheStoreDoesNotWriteFailToOpen) {
    // Every save would renumber the key and reset the default.
    ReshapeTriggers("id INTEGER PRIMARY KEY, Display TEXT, " + kTextColumns);
    EXPECT_THAT(LoadFailure(), HasSubstr("table tblTriggers has a column id, which Tavro does not "
                                         "write."));
    ReshapeTriggers(kTextColumns + ", Display TEXT, Hits TEXT NOT NULL DEFAULT '0'");
    EXPECT_THAT(LoadFailure(), HasSubstr("table tblTriggers has a column Hits"));
    ReshapeTriggers(kTextColumns + ", Display TEXT");
    RunSql(DatabasePath(), "ALTER TABLE tblTextOnlyApps ADD COLUMN Note TEXT");
    EXPECT_THAT(LoadFailure(), HasSubstr("table tblTextOnlyApps has a column Note"));
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

TEST_F(DatabaseEngineTest, TheTriggerQueryOrdersTypeAndNameIgnoringCase) {
    InsertTrigger("'a'", "'zed'", "'text'");
    InsertTrigger("'b'", "'Émile'", "'Text'");
    InsertTrigger("'c'", "'adam'", "'TEXT'");
    InsertTrigger("'d'", "'x'", "'rtf'");
    InsertTrigger("'e'", "'x'", "'Launch'");
    InsertTrigger("'f'", "'x'", "'IMAGE'");
    InsertTrigger("'g'", "'Bob'", "'Text'");
    const auto database = engine.OpenDatabase(DatabasePath());
    const auto rows = database->OpenRecordset(kSelectTriggers);
    std::u16string order;
    for (rows->MoveFirst(); !rows->Eof(); rows->MoveNext()) {
        order += rows->Field("Trigger").value();
    }
    EXPECT_EQ(order, u"fedcgab");
}

TEST_F(DatabaseEngineTest, DeletesAllRowsOrFailsAsAsked) {
    InsertTrigger("'a'", "'A'", "'Text'");
    const auto database = engine.OpenDatabase(DatabasePath());
    database->Execute(kDeleteTriggers, kFailOnError);
    EXPECT_TRUE(StoredColumn("SELECT Trigger FROM tblTriggers").empty());

    EXPECT_NO_THROW(database->Execute("Delete * from tblMissing", 0));
    EXPECT_THROW(database->Execute("Delete * from tblMissing", kFailOnError), DatabaseError);
}

TEST_F(DatabaseEngineTest, ReadsNullsAndRefusesWhatIsNotThere) {
    RunSql(DatabasePath(), "INSERT INTO tblSendKeyApps VALUES (NULL)");
    const auto database = engine.OpenDatabase(DatabasePath());
    const auto rows = database->OpenRecordset(kSelectSendKeyApps);
    EXPECT_EQ(rows->Field("SENDKEYAPP"), std::nullopt);
    EXPECT_THROW(rows->Field("Other"), DatabaseError);
    EXPECT_THROW(rows->AddNew(), DatabaseError);
    rows->MoveNext();
    EXPECT_TRUE(rows->Eof());
    EXPECT_THROW(rows->Field("SendKeyApp"), DatabaseError);

    const auto empty = database->OpenRecordset(kSelectTextOnlyApps);
    EXPECT_THROW(empty->MoveFirst(), DatabaseError);
}

}  // namespace
}  // namespace tavro
