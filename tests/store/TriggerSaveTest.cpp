#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>

#include "StoreFixture.h"

namespace tavro {
namespace {

using test::kCannotDeleteLast;
using test::kCannotSave;
using test::RunSql;
using test::StoreFixture;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class TriggerSaveTest : public StoreFixture, public ::testing::Test {
  protected:
    TriggerSaveTest() {
        for (const char* trigger : {"'t0'", "'t1'", "'t2'", "'t3'", "'t4'"}) {
            InsertTrigger(trigger, trigger, "'Text'", "'old'");
        }
        store.LoadTriggers();
        platform.log.Clear();
    }

    // An edit in the editor: the replacement of slot 1 changes.
    void Edit(std::u16string text = u"edited") {
        edit_ = std::move(text);
        triggers.Slot(1).ReplaceText = edit_;
        triggers.TriggersDirty = true;
    }

    // The save failed: the user was told, and the edit is still there.
    void ExpectEditKept(const std::string& message) {
        EXPECT_THAT(platform.log.CallsStartingWith({"MessageBox", "ShowTrigger", "EndProgram"}),
                    ElementsAre(message));
        EXPECT_TRUE(triggers.Slot(1).ReplaceText == edit_);
        EXPECT_TRUE(triggers.TriggersDirty);
        EXPECT_THAT(StoredColumn("SELECT ReplaceText FROM tblTriggers"),
                    ElementsAre("old", "old", "old", "old", "old"));
    }

    std::u16string edit_;
};

// SQLite's longest value, lowered on every connection the process opens.
int LowerLengthLimit(sqlite3* connection, char**, const sqlite3_api_routines*) {
    sqlite3_limit(connection, SQLITE_LIMIT_LENGTH, 100'000);
    return SQLITE_OK;
}

// Sets SQLite's limits for a while: a lower longest value on new
// connections, or a ceiling on its memory.
class SqliteLimits {
  public:
    ~SqliteLimits() {
        sqlite3_reset_auto_extension();
        sqlite3_hard_heap_limit64(0);
    }
    void LowerLength() { sqlite3_auto_extension(reinterpret_cast<void (*)()>(LowerLengthLimit)); }
    void LimitMemory(sqlite3_int64 more) {
        sqlite3_hard_heap_limit64(sqlite3_memory_used() + more);
    }
};

TEST_F(TriggerSaveTest, SavingDropsDeletedSlotsAndKeepsTheCurrentSlot) {
    triggers.Slot(2).Trigger = u"";
    triggers.CurrentTrigger = 3;
    triggers.TriggersDirty = true;

    store.mnuSave_Click();

    EXPECT_FALSE(triggers.TriggersDirty);
    EXPECT_EQ(triggers.TriggerCount, 4);
    EXPECT_EQ(triggers.CurrentTrigger, 3);
    EXPECT_EQ(triggers.Slot(2).Trigger, u"t3");
    EXPECT_EQ(triggers.Slot(4), TriggerRecord{});
    EXPECT_THAT(platform.log.CallsStartingWith({"ShowTrigger", "MessageBox"}),
                ElementsAre("ShowTrigger(3)"));
    EXPECT_THAT(StoredColumn("SELECT Trigger FROM tblTriggers"),
                ElementsAre("t0", "t1", "t3", "t4"));

    store.mnuSave_Click();
    EXPECT_THAT(StoredColumn("SELECT Trigger FROM tblTriggers"),
                ElementsAre("t0", "t1", "t3", "t4"));
}

TEST_F(TriggerSaveTest, TextsComeBackExactlyAsTheyWereSaved) {
    std::u16string huge;
    for (int i = 0; huge.size() < 4 * 1024 * 1024; ++i) {
        huge += u"Zeile " + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) +
                u": äöü € 日本語 😀\r\n";
    }
    TriggerRecord& slot = triggers.Slot(0);
    slot.Trigger = u"<enter>ß";
    slot.Display = u"Ελληνικά";
    slot.ReplaceText = huge;
    slot.ReplaceRTFFile = u"/home/ünï/data/letter.rtf";
    slot.ReplaceImageFile = u"";
    slot.CommandLine = u"xdg-open 'a b'";
    const TriggerRecord saved = slot;

    store.mnuSave_Click();

    const auto found =
        std::find_if(&triggers.Slot(0), &triggers.Slot(0) + 5,
                     [](const TriggerRecord& r) { return r.Trigger == u"<enter>ß"; });
    ASSERT_NE(found, &triggers.Slot(0) + 5);
    EXPECT_EQ(*found, saved);
}

TEST_F(TriggerSaveTest, AFailingRowLeavesTheOldContent) {
    RunSql(DatabasePath(),
           "CREATE TRIGGER refuse BEFORE INSERT ON tblTriggers WHEN NEW.Trigger = 't3' "
           "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    Edit();
    store.mnuSave_Click();
    ExpectEditKept(kCannotSave);

    RunSql(DatabasePath(), "DROP TRIGGER refuse");
    platform.log.Clear();
    store.mnuSave_Click();  // the next save tries again
    EXPECT_FALSE(triggers.TriggersDirty);
    EXPECT_THAT(StoredColumn("SELECT ReplaceText FROM tblTriggers WHERE Trigger = 't1'"),
                ElementsAre("edited"));
}

TEST_F(TriggerSaveTest, AValueSqliteRefusesFailsTheSaveAndKeepsTheEdits) {
    {
        SqliteLimits limits;
        limits.LowerLength();
        Edit(std::u16string(200'000, u'x'));  // too big for the connection
        store.mnuSave_Click();
    }
    ExpectEditKept(kCannotSave);

    platform.log.Clear();
    {
        SqliteLimits limits;
        limits.LimitMemory(2 << 20);
        Edit(std::u16string(8 << 20, u'y'));  // out of memory
        store.mnuSave_Click();
    }
    ExpectEditKept(kCannotSave);

    platform.log.Clear();
    store.mnuSave_Click();
    EXPECT_THAT(StoredColumn("SELECT length(ReplaceText) FROM tblTriggers WHERE Trigger = 't1'"),
                ElementsAre(std::to_string(8 << 20)));
}

TEST_F(TriggerSaveTest, DeletingAfterAFailedSaveNeverEmptiesTheTable) {
    RunSql(DatabasePath(),
           "CREATE TRIGGER refuse BEFORE INSERT ON tblTriggers BEGIN SELECT RAISE(ABORT, 'no'); "
           "END");
    for (int slot = 0; slot < 4; ++slot) {
        ASSERT_TRUE(triggers.DeleteTrigger(slot, platform.desktop));
        triggers.TriggersDirty = true;
        store.mnuSave_Click();  // fails: the deleted slots and the count stay
    }
    EXPECT_EQ(triggers.TriggerCount, 5);
    platform.log.Clear();

    EXPECT_FALSE(triggers.DeleteTrigger(4, platform.desktop));
    EXPECT_THAT(platform.log.Calls(), ElementsAre(kCannotDeleteLast));

    RunSql(DatabasePath(), "DROP TRIGGER refuse");
    store.mnuSave_Click();
    EXPECT_THAT(StoredColumn("SELECT Trigger FROM tblTriggers"), ElementsAre("t4"));
    EXPECT_EQ(triggers.TriggerCount, 1);
    EXPECT_EQ(triggers.Slot(0).Trigger, u"t4");
}

TEST_F(TriggerSaveTest, ATableWithoutTriggersIsNeverWritten) {
    for (int slot = 0; slot < 5; ++slot) {
        triggers.Slot(slot).Trigger.clear();
    }
    triggers.TriggersDirty = true;

    store.mnuSave_Click();

    EXPECT_THAT(platform.log.Calls(), ElementsAre(kCannotSave));
    EXPECT_TRUE(triggers.TriggersDirty);
    EXPECT_EQ(StoredColumn("SELECT Trigger FROM tblTriggers").size(), 5U);
}

TEST_F(TriggerSaveTest, AReadOnlyFileKeepsTheEdits) {
    const bool root = geteuid() == 0;
    const std::string protect = root ? "chattr +i " : "chmod a-w ";
    const std::string unprotect = root ? "chattr -i " : "chmod u+w ";
    if (std::system((protect + DatabasePath().string() + " 2>/dev/null").c_str()) != 0) {
        GTEST_SKIP() << "cannot make the file read-only here";
    }
    Edit();
    store.mnuSave_Click();
    std::system((unprotect + DatabasePath().string()).c_str());
    ExpectEditKept(kCannotSave);
}

TEST_F(TriggerSaveTest, AFileLockedByAnotherWriterKeepsTheEditsAfterAShortWait) {
    sqlite3* other = nullptr;
    sqlite3_open(DatabasePath().c_str(), &other);
    sqlite3_exec(other, "BEGIN IMMEDIATE; INSERT INTO tblSendKeyApps VALUES ('x')", nullptr,
                 nullptr, nullptr);

    Edit();
    store.mnuSave_Click();

    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    ExpectEditKept(kCannotSave);
}

TEST_F(TriggerSaveTest, ADatabaseGoneWhileSavingKeepsTheEditsAndTheProgram) {
    const auto moved = folder.Path() / "moved.mdb";
    std::filesystem::rename(DatabasePath(), moved);
    Edit();
    store.mnuSave_Click();
    std::filesystem::rename(moved, DatabasePath());

    ExpectEditKept("MessageBox(\"Could not find file '" + DatabasePath().string() +
                   "'.\",\"Error opening database\",Critical)");
    EXPECT_EQ(platform.desktop.endedWith, -1);
}

}  // namespace
}  // namespace tavro
