#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "StoreFixture.h"

namespace tavro {
namespace {

using test::RunSql;
using test::StoreFixture;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class TriggerLoadTest : public StoreFixture, public ::testing::Test {};

TEST_F(TriggerLoadTest, GroupsTheTriggersByTypeInTheTrayMenu) {
    InsertTrigger("'sig'", "'Signature'", "'Text'");
    InsertTrigger("'logo'", "'Logo'", "'Image'");
    InsertTrigger("'addr'", "'address'", "'Text'");
    RunSql(DatabasePath(), "INSERT INTO tblSendKeyApps VALUES ('Word'), ('Notepad')");

    store.LoadTriggers();

    EXPECT_EQ(triggers.TriggerCount, 3);
    EXPECT_EQ(triggers.Slot(0).Trigger, u"logo");
    EXPECT_EQ(triggers.Slot(1).Trigger, u"addr");
    EXPECT_EQ(triggers.Slot(2).Trigger, u"sig");
    EXPECT_EQ(triggers.Slot(3), TriggerRecord{});
    EXPECT_THAT(platform.desktop.shownTrayEntries,
                ElementsAre(u"Logo - Image", u"-", u"address - Text", u"Signature - Text"));
    EXPECT_THAT(lstTriggers.Items(),
                ElementsAre(u"addr - address", u"logo - Logo", u"sig - Signature"));
    EXPECT_THAT(applications.SendKeyApps, ElementsAre(u"Word", u"Notepad"));
    EXPECT_THAT(lstSendKey.Items(), ElementsAre(u"Notepad", u"Word"));
    EXPECT_THAT(platform.log.CallsStartingWith({"ShowTrigger", "MessageBox", "EndProgram"}),
                ElementsAre("ShowTrigger(0)"));
}

TEST_F(TriggerLoadTest, OrdersNamesWithoutRegardToCaseInEveryScript) {
    // SQLite's NOCASE puts each pair the other way round: it folds ASCII only.
    for (const char* name : {"'Éb'", "'éa'", "'Γάμμα'", "'βήτα'", "'Борис'", "'анна'"}) {
        InsertTrigger(name, name, "'Text'");
    }
    InsertTrigger("'l'", "'Ñ'", "'launch'");
    store.LoadTriggers();
    std::vector<std::u16string> names;
    for (int slot = 0; slot < triggers.TriggerCount; ++slot) {
        names.push_back(triggers.Slot(slot).Display);
    }
    EXPECT_THAT(names, ElementsAre(u"Ñ", u"éa", u"Éb", u"βήτα", u"Γάμμα", u"анна", u"Борис"));
}

// A reload empties the slots and tray entries no longer used, and keeps the
// slot shown even when it is now past the last trigger.
TEST_F(TriggerLoadTest, AReloadKeepsOnlyWhatIsStillThere) {
    InsertTrigger("'a'", "'A'", "'Text'");
    InsertTrigger("'b'", "'B'", "'Launch'");
    store.LoadTriggers();
    EXPECT_THAT(platform.desktop.shownTrayEntries, ElementsAre(u"B - Launch", u"-", u"A - Text"));

    RunSql(DatabasePath(), "DELETE FROM tblTriggers WHERE Trigger = 'b'");
    triggers.CurrentTrigger = 1;
    platform.log.Clear();
    store.LoadTriggers();
    EXPECT_THAT(platform.desktop.shownTrayEntries, ElementsAre(u"A - Text"));
    EXPECT_EQ(triggers.TriggerCount, 1);
    EXPECT_EQ(triggers.Slot(1), TriggerRecord{});
    EXPECT_THAT(platform.log.CallsStartingWith({"ShowTrigger"}), ElementsAre("ShowTrigger(1)"));
}

// A table without triggers changes nothing, not even the editor; NULLs
// read as empty texts, and empty application entries are left out.
TEST_F(TriggerLoadTest, AnEmptyTableChangesNothingAndNullsReadAsEmptyTexts) {
    triggers.Slot(0).Trigger = u"mine";
    triggers.TriggerCount = 1;
    applications.SendKeyApps = {u"Editor"};
    RunSql(DatabasePath(),
           "INSERT INTO tblSendKeyApps VALUES (NULL), ('Word'), ('');"
           "INSERT INTO tblTextOnlyApps VALUES (NULL)");
    store.LoadTriggers();
    EXPECT_EQ(triggers.Slot(0).Trigger, u"mine");
    EXPECT_THAT(applications.SendKeyApps, ElementsAre(u"Editor"));
    EXPECT_THAT(platform.log.Calls(), IsEmpty());

    RunSql(DatabasePath(),
           "INSERT INTO tblTriggers VALUES ('t', NULL, NULL, NULL, NULL, NULL, NULL)");
    store.LoadTriggers();
    TriggerRecord expected;
    expected.Trigger = u"t";
    EXPECT_EQ(triggers.Slot(0), expected);
    EXPECT_THAT(applications.SendKeyApps, ElementsAre(u"Word"));
    EXPECT_THAT(applications.TextOnlyApps, IsEmpty());
}

TEST_F(TriggerLoadTest, FiveHundredRowsInEveryTableLoadAndNoneIsLostBySaving) {
    std::string rows;
    const char* const types[] = {"Text", "RTF", "Image", "Launch"};
    for (int i = 0; i < 500; ++i) {
        const std::string n = std::to_string(i);
        rows += "INSERT INTO tblTriggers (Trigger, Display, Type) VALUES ('t" + n + "', 'n" + n +
                "', '" + types[i % 4] + "');INSERT INTO tblSendKeyApps VALUES ('s" + n +
                "');INSERT INTO tblTextOnlyApps VALUES ('o" + n + "');";
    }
    RunSql(DatabasePath(), "BEGIN;" + rows + "COMMIT;");

    store.LoadTriggers();

    EXPECT_EQ(triggers.TriggerCount, 21);
    EXPECT_EQ(lstTriggers.ListCount(), 21);
    EXPECT_EQ(platform.desktop.shownTrayEntries.size(), 21U);  // all of the first group
    EXPECT_EQ(applications.SendKeyApps.size(), 500U);
    EXPECT_EQ(applications.TextOnlyApps.back(), u"o499");
    EXPECT_EQ(lstTextOnly.ListCount(), 500);

    triggers.Slot(3).Trigger = u"";
    ASSERT_TRUE(store.SaveTriggers());
    EXPECT_EQ(StoredColumn("SELECT Trigger FROM tblTriggers").size(), 499U);
}

}  // namespace
}  // namespace tavro
