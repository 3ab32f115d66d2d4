#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <functional>
#include <optional>

#include "StoreFixture.h"

namespace tavro {
namespace {

using test::kCannotDeleteLast;
using test::kCannotSave;
using test::RunSql;
using test::StoreFixture;
using ::testing::ElementsAre;

class TriggerSaveTest : public StoreFixture, public ::testing::Test {
  protected:
    TriggerSaveTest() {
        for (const char* trigger : {"'t0'", "'t1'", "'t2'", "'t3'", "'t4'"}) {
            InsertTrigger(trigger, trigger, "'Text'", "'old'");
        }
        store.LoadTriggers();
        platform.log.Clear();
    }
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
    slot.CommandLine = u"xdg-open 'a b'";
    const TriggerRecord saved = slot;

    store.mnuSave_Click();

    const auto found =
        std::find_if(&triggers.Slot(0), &triggers.Slot(0) + 5,
                     [](const TriggerRecord& r) { return r.Trigger == u"<enter>ß"; });
    ASSERT_NE(found, &triggers.Slot(0) + 5);
    EXPECT_EQ(*found, saved);
}

// Whatever makes a save fail, the user is told, the program goes on, the
// edits stay for the next save, and the file keeps all of its old content.
TEST_F(TriggerSaveTest, AFailedSaveKeepsTheEditsAndTheOldFileUntilTheNextSave) {
    struct Failure {
        const char* cause;
        std::function<bool()> make;  // false: it cannot be made here
        std::function<void()> mend;
        std::u16string edit = u"edited";
        std::string message = kCannotSave;
    };
    std::optional<SqliteLimits> limits;
    sqlite3* other = nullptr;
    const auto moved = folder.Path() / "moved.mdb";
    const Failure failures[] = {
        {"a row refused",
         [&] {
             RunSql(DatabasePath(),
                    "CREATE TRIGGER refuse BEFORE INSERT ON tblTriggers WHEN "
                    "NEW.Trigger = 't3' BEGIN SELECT RAISE(ABORT, 'no'); END");
             return true;
         },
         [&] { RunSql(DatabasePath(), "DROP TRIGGER refuse"); }},
        {"a value longer than the connection takes",
         [&] {
             limits.emplace().LowerLength();
             return true;
         },
         [&] { limits.reset(); }, std::u16string(200'000, u'x')},
        {"SQLite out of memory",
         [&] {
             limits.emplace().LimitMemory(2 << 20);
             return true;
         },
         [&] { limits.reset(); }, std::u16string(8 << 20, u'y')},
        {"a file locked by another writer",
         [&] {
             sqlite3_open(DatabasePath().c_str(), &other);
             return sqlite3_exec(other, "BEGIN IMMEDIATE; INSERT INTO tblSendKeyApps VALUES ('x')",
                                 nullptr, nullptr, nullptr) == SQLITE_OK;
         },
         [&] {
             sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
             sqlite3_close(other);
         }},
        {"the file gone while saving",
         [&] {
             std::filesystem::rename(DatabasePath(), moved);
             return true;
         },
         [&] { std::filesystem::rename(moved, DatabasePath()); }, u"edited",
         "MessageBox(\"Could not find file '" + DatabasePath().string() +
             "'.\",\"Error opening database\",Critical)"}};
    for (const Failure& failure : failures) {
        SCOPED_TRACE(failure.cause);
        platform.log.Clear();
        if (!failure.make()) {
            ADD_FAILURE() << "cannot be made here";
            continue;
        }
        triggers.Slot(1).ReplaceText = failure.edit;
        triggers.TriggersDirty = true;
        store.mnuSave_Click();
        failure.mend();

        EXPECT_THAT(platform.log.CallsStartingWith({"MessageBox", "ShowTrigger", "EndProgram"}),
                    ElementsAre(failure.message));
        EXPECT_TRUE(triggers.Slot(1).ReplaceText == failure.edit);
        EXPECT_TRUE(triggers.TriggersDirty);
        EXPECT_THAT(StoredColumn("SELECT ReplaceText FROM tblTriggers"),
                    ElementsAre("old", "old", "old", "old", "old"));
    }
    store.mnuSave_Click();
    EXPECT_FALSE(triggers.TriggersDirty);
    EXPECT_THAT(StoredColumn("SELECT ReplaceText FROM tblTriggers WHERE Trigger = 't1'"),
                ElementsAre("edited"));
}

// Deleted slots do not count as triggers: after failed saves kept them, the
// last trigger cannot be deleted, and a table without any is never written.
TEST_F(TriggerSaveTest, TheTableIsNeverEmptied) {
    RunSql(DatabasePath(),
           "CREATE TRIGGER refuse BEFORE INSERT ON tblTriggers BEGIN SELECT "
           "RAISE(ABORT, 'no'); END");
    for (int slot = 0; slot < 4; ++slot) {
        ASSERT_TRUE(triggers.DeleteTrigger(slot, platform.desktop));
        triggers.TriggersDirty = true;
        store.mnuSave_Click();  // fails: the deleted slots and the count stay
    }
    EXPECT_EQ(triggers.TriggerCount, 5);
    platform.log.Clear();
    EXPECT_FALSE(triggers.DeleteTrigger(4, platform.desktop));
    EXPECT_THAT(platform.log.Calls(), ElementsAre(kCannotDeleteLast));

    triggers.Slot(4).Trigger.clear();
    platform.log.Clear();
    RunSql(DatabasePath(), "DROP TRIGGER refuse");
    store.mnuSave_Click();
    EXPECT_THAT(platform.log.Calls(), ElementsAre(kCannotSave));
    EXPECT_TRUE(triggers.TriggersDirty);
    EXPECT_EQ(StoredColumn("SELECT Trigger FROM tblTriggers").size(), 5U);

    triggers.Slot(4).Trigger = u"t4";
    store.mnuSave_Click();
    EXPECT_THAT(StoredColumn("SELECT Trigger FROM tblTriggers"), ElementsAre("t4"));
    EXPECT_EQ(triggers.TriggerCount, 1);
    EXPECT_EQ(triggers.Slot(0).Trigger, u"t4");
}

}  // namespace
}  // namespace tavro
