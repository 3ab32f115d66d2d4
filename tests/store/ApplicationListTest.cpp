#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "StoreFixture.h"

namespace tavro {
namespace {

using test::RunSql;
using test::StoreFixture;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kInputBox =
    "InputBox(\"Please enter the portion of the caption of the application you wish to add which "
    "does not change. For example, Microsoft Word has a caption which says 'Microsoft Word - (the "
    "name of the open document)'. The part which does not change is 'Microsoft Word'. You would "
    "enter 'Microsoft Word' in the box below\",\"Enter application caption\")";

class ApplicationListTest : public StoreFixture, public ::testing::Test {
  protected:
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
    std::vector<std::string> TextOnlyRows() const {
        return StoredColumn("SELECT TextOnlyApp FROM tblTextOnlyApps");
    }
};

TEST_F(ApplicationListTest, AddingAFragmentStoresItAtOnce) {
    Add(lstSendKey, u"Notepad");
    EXPECT_THAT(platform.log.Calls(), ElementsAre(kInputBox));
    EXPECT_THAT(SendKeyRows(), ElementsAre("Notepad"));
    EXPECT_THAT(applications.SendKeyApps, ElementsAre(u"Notepad"));

    Add(lstSendKey, u"Notepad");
    Add(lstTextOnly, u" Writer ");
    Add(lstSendKey, u"emacs");
    EXPECT_THAT(SendKeyRows(), ElementsAre("emacs", "Notepad", "Notepad"));
    EXPECT_THAT(TextOnlyRows(), ElementsAre(" Writer "));
    EXPECT_THAT(applications.SendKeyApps, ElementsAre(u"emacs", u"Notepad", u"Notepad"));

    // Cancelled, it adds nothing but writes both lists as they are.
    lstTextOnly.AddItem(u"Typed elsewhere");
    Add(lstSendKey, u"");
    EXPECT_THAT(SendKeyRows(), ElementsAre("emacs", "Notepad", "Notepad"));
    EXPECT_THAT(TextOnlyRows(), ElementsAre(" Writer ", "Typed elsewhere"));
}

// Deleting removes the selected fragment; without a selection it writes
// nothing.
TEST_F(ApplicationListTest, DeletingRemovesTheSelectedFragmentOnly) {
    for (const char16_t* fragment : {u"b", u"a", u"c"}) {
        Add(lstSendKey, fragment);
    }
    lstSendKey.Select(1);
    lists.cmdDeleteSendKey_Click();
    EXPECT_THAT(SendKeyRows(), ElementsAre("a", "c"));
    EXPECT_THAT(applications.SendKeyApps, ElementsAre(u"a", u"c"));

    Add(lstTextOnly, u"Writer");
    std::filesystem::remove(DatabasePath());  // any write would now show a message
    platform.log.Clear();
    lists.cmdDeleteTextOnly_Click();
    EXPECT_THAT(platform.log.Calls(), IsEmpty());
    EXPECT_THAT(lstTextOnly.Items(), ElementsAre(u"Writer"));
}

TEST_F(ApplicationListTest, AFailedSaveChangesNeitherTableAndKeepsTheListBoxes) {
    Add(lstSendKey, u"Word");
    Add(lstTextOnly, u"Notepad");
    RunSql(DatabasePath(),
           "CREATE TRIGGER refuse BEFORE DELETE ON tblTextOnlyApps BEGIN SELECT RAISE(ABORT, "
           "'no'); END");
    platform.log.Clear();

    Add(lstSendKey, u"Terminal");

    EXPECT_THAT(platform.log.CallsStartingWith({"MessageBox"}), ElementsAre(test::kCannotSave));
    EXPECT_THAT(SendKeyRows(), ElementsAre("Word"));
    EXPECT_THAT(applications.SendKeyApps, ElementsAre(u"Word"));
    EXPECT_THAT(lstSendKey.Items(), ElementsAre(u"Terminal", u"Word"));

    RunSql(DatabasePath(), "DROP TRIGGER refuse");
    Add(lstSendKey, u"");
    EXPECT_THAT(SendKeyRows(), ElementsAre("Terminal", "Word"));
}

TEST_F(ApplicationListTest, AnUnopenableDatabaseKeepsTheChangeForTheNextSave) {
    std::filesystem::remove(DatabasePath());
    Add(lstSendKey, u"Word");
    EXPECT_THAT(platform.log.CallsStartingWith({"MessageBox", "EndProgram"}),
                ElementsAre("MessageBox(\"Could not find file '" + DatabasePath().string() +
                            "'.\",\"Error opening database\",Critical)"));
    EXPECT_THAT(lstSendKey.Items(), ElementsAre(u"Word"));
}

}  // namespace
}  // namespace tavro
