#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "StoreFixture.h"

namespace tavro {
namespace {

using test::RunSql;
using test::StoreFixture;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class ApplicationListTest : public StoreFixture, public ::testing::Test {
  protected:
    // Answers the input box of the Add button of the list with `answer`.
    void Add(ListBox& which, std::u16string answer) {
        platform.desktop.inputAnswer = std::move(answer);
        if (&which == &lstSendKey) {
            lists.cmdAddSendKey_Click();
        } else {
            lists.cmdAddTextOnly_Click();
        }
    }

    std::vector<std::string> SendKeyRows() const {
        return StoredColumn("SELECT SendKeyApp FROM tblSendKeyApps");
    }
};

// Added, deleted or cancelled: both lists are written as the list boxes hold
// them; deleting without a selection writes nothing.
TEST_F(ApplicationListTest, EachChangeStoresBothListsAtOnce) {
    for (const char16_t* fragment : {u"Notepad", u"Notepad", u"emacs", u"b"}) {
        Add(lstSendKey, fragment);
    }
    Add(lstTextOnly, u" Writer ");
    EXPECT_THAT(SendKeyRows(), ElementsAre("b", "emacs", "Notepad", "Notepad"));
    EXPECT_THAT(applications.SendKeyApps, ElementsAre(u"b", u"emacs", u"Notepad", u"Notepad"));

    lstTextOnly.AddItem(u"Typed elsewhere");
    Add(lstSendKey, u"");
    EXPECT_THAT(StoredColumn("SELECT TextOnlyApp FROM tblTextOnlyApps"),
                ElementsAre(" Writer ", "Typed elsewhere"));

    lstSendKey.Select(1);
    lists.cmdDeleteSendKey_Click();
    EXPECT_THAT(SendKeyRows(), ElementsAre("b", "Notepad", "Notepad"));
    EXPECT_THAT(applications.SendKeyApps, ElementsAre(u"b", u"Notepad", u"Notepad"));

    std::filesystem::remove(DatabasePath());  // any write would now show a message
    platform.log.Clear();
    lists.cmdDeleteTextOnly_Click();
    EXPECT_THAT(platform.log.Calls(), IsEmpty());
}

TEST_F(ApplicationListTest, AFailedSaveChangesNeitherTableAndKeepsTheListBoxes) {
    Add(lstSendKey, u"Word");
    Add(lstTextOnly, u"Notepad");
    RunSql(DatabasePath(),
           "CREATE TRIGGER refuse BEFORE DELETE ON tblTextOnlyApps BEGIN SELECT "
           "RAISE(ABORT, 'no'); END");
    platform.log.Clear();

    Add(lstSendKey, u"Terminal");

    EXPECT_THAT(platform.log.CallsStartingWith({"MessageBox"}), ElementsAre(test::kCannotSave));
    EXPECT_THAT(SendKeyRows(), ElementsAre("Word"));
    EXPECT_THAT(applications.SendKeyApps, ElementsAre(u"Word"));
    EXPECT_THAT(lstSendKey.Items(), ElementsAre(u"Terminal", u"Word"));

    RunSql(DatabasePath(), "DROP TRIGGER refuse");
    Add(lstSendKey, u"");
    EXPECT_THAT(SendKeyRows(), ElementsAre("Terminal", "Word"));

    // A database that cannot be opened ends nothing: the next save writes it.
    std::filesystem::remove(DatabasePath());
    platform.log.Clear();
    Add(lstSendKey, u"Mail");
    EXPECT_THAT(platform.log.CallsStartingWith({"MessageBox", "EndProgram"}),
                ElementsAre("MessageBox(\"Could not find file '" + DatabasePath().string() +
                            "'.\",\"Error opening database\",Critical)"));
    EXPECT_THAT(lstSendKey.Items(), ElementsAre(u"Mail", u"Terminal", u"Word"));
}

}  // namespace
}  // namespace tavro
