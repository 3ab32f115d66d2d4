#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "StoreFixture.h"
#include "store/Database.h"
#include "store/StoreStatements.h"

namespace tavro {
namespace {

using test::RunSql;
using test::StoreFixture;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

class DatabaseEngineTest : public StoreFixture, public ::testing::Test {
  protected:
    void WriteFile(const std::string& bytes) {
        std::filesystem::remove(DatabasePath());
        std::ofstream(DatabasePath(), std::ios::binary) << bytes;
    }

    // Loading at start-up: the message the user sees, and the program ends.
    std::string LoadFailure() {
        triggers.Slot(0).Trigger = u"kept";
        triggers.TriggerCount = 1;
        store.LoadTriggers();
        EXPECT_EQ(platform.desktop.endedWith, 1);
        EXPECT_EQ(triggers.Slot(0).Trigger, u"kept");
        const auto calls = platform.log.CallsStartingWith({"MessageBox"});
        EXPECT_EQ(calls.size(), 1U);
        return calls.empty() ? "" : calls.front();
    }
};

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
