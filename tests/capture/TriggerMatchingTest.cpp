#include "capture/TriggerMatcher.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/FakeEngine.h"

namespace tavro {
namespace {

using test::FakeEngine;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class TriggerMatchingTest : public ::testing::Test {
  protected:
    std::vector<std::string> Firings() const {
        return fixture.log.CallsStartingWith({"ShowTrigger", "ShowTriggerChoice"});
    }

    FakeEngine fixture;
};

TEST_F(TriggerMatchingTest, ASingleMatchAtTheEndOfTheBufferFiresAndEmptiesIt) {
    fixture.AddTrigger(u"sig", u"Signature", u"Text", u"Best regards");
    fixture.keyboard.Type(u"hello si");
    EXPECT_THAT(Firings(), IsEmpty());

    fixture.keyboard.Type(u"g");

    EXPECT_THAT(Firings(), ElementsAre("ShowTrigger(0)"));
    EXPECT_EQ(fixture.KeyBuffer(), u"");
    // Three Backspaces erase the typed "sig", then Ctrl+V pastes.
    EXPECT_EQ(fixture.log.CallsStartingWith({"keybd_event(8,0,0"}).size(), 3U);
}

TEST_F(TriggerMatchingTest, TriggersNeedNoSeparatorAndIgnoreCase) {
    fixture.AddTrigger(u"SIG", u"Signature");
    fixture.keyboard.Type(u"xsig");
    fixture.keyboard.Type(u"XSiG");
    EXPECT_THAT(Firings(), ElementsAre("ShowTrigger(0)", "ShowTrigger(0)"));
}

TEST_F(TriggerMatchingTest, ATriggerEndingInEnterFiresOnTheEnterKey) {
    fixture.AddTrigger(u"abc<ENTER>", u"Enter");
    fixture.keyboard.Type(u"abc");
    EXPECT_THAT(Firings(), IsEmpty());
    fixture.keyboard.Press(13);
    EXPECT_THAT(Firings(), ElementsAre("ShowTrigger(0)"));

    // The seven characters typed one by one fire it as well.
    fixture.keyboard.Type(u"abc<enter>");
    EXPECT_THAT(Firings(), ElementsAre("ShowTrigger(0)", "ShowTrigger(0)"));
}

TEST_F(TriggerMatchingTest, SeveralMatchesAreOfferedInSlotOrderAndTheBufferEmptied) {
    fixture.AddTrigger(u"ig", u"Short");
    fixture.AddTrigger(u"other", u"Other");
    fixture.AddTrigger(u"sig", u"Long");
    fixture.keyboard.Type(u"sig");  // the menu is dismissed: the fake fires nothing

    EXPECT_THAT(Firings(), ElementsAre("ShowTriggerChoice(0,2)"));
    EXPECT_EQ(fixture.KeyBuffer(), u"");

    // Every one of many.
    const std::u16string triggers[] = {u"a",     u"ba",     u"cba",    u"dcba",
                                       u"edcba", u"fedcba", u"gfedcba"};
    for (const std::u16string& trigger : triggers) {
        fixture.AddTrigger(trigger, trigger);
    }
    fixture.log.Clear();
    fixture.keyboard.Type(u"gfedcba");
    EXPECT_THAT(Firings(), ElementsAre("ShowTriggerChoice(3,4,5,6,7,8,9)"));
}

// Keys typed while the menu is open are forgotten with the rest when it
// closes.
TEST_F(TriggerMatchingTest, TheBufferIsEmptiedWhenTheChoiceMenuHasClosed) {
    fixture.AddTrigger(u"ig", u"Short");
    fixture.AddTrigger(u"sig", u"Long");
    fixture.desktop.onTriggerChoice = [this](const std::vector<int>&) {
        fixture.keyboard.Type(u"xy");
    };
    fixture.keyboard.Type(u"sig");
    EXPECT_EQ(fixture.KeyBuffer(), u"");
}

TEST_F(TriggerMatchingTest, DeletedSlotsAndSlotsBeyondTheCountNeverMatch) {
    fixture.AddTrigger(u"", u"Deleted");
    fixture.AddTrigger(u"sig", u"Signature");
    fixture.engine.Triggers().Slot(2).Trigger = u"ig";  // filled, but not in use
    fixture.keyboard.Type(u"sig");
    EXPECT_THAT(Firings(), ElementsAre("ShowTrigger(1)"));
}

TEST_F(TriggerMatchingTest, TheChosenTriggerFiresFromTheChoiceMenu) {
    fixture.AddTrigger(u"ig", u"Short");
    fixture.AddTrigger(u"sig", u"Long");
    fixture.desktop.onTriggerChoice = [this](const std::vector<int>& matchingSlots) {
        fixture.engine.Firer().FireTrigger(fixture.engine.Triggers().Slot(matchingSlots[1]).Trigger,
                                           matchingSlots[1]);
    };
    fixture.keyboard.Type(u"sig");
    EXPECT_THAT(Firings(), ElementsAre("ShowTriggerChoice(0,1)", "ShowTrigger(1)"));
    EXPECT_EQ(fixture.log.CallsStartingWith({"keybd_event(8,0,0"}).size(), 3U);
}

TEST_F(TriggerMatchingTest, KeysTypedWhileFiringYieldsAreMatchedInANestedCall) {
    fixture.AddTrigger(u"aa", u"First");
    fixture.AddTrigger(u"bb", u"Second");
    bool typedDuringYield = false;
    fixture.desktop.onYield = [&] {
        if (!typedDuringYield) {
            typedDuringYield = true;
            fixture.keyboard.Type(u"bb");
        }
    };
    fixture.keyboard.Type(u"aa");

    // The outer walk sees the buffer the nested firing left: empty.
    EXPECT_THAT(Firings(), ElementsAre("ShowTrigger(1)", "ShowTrigger(0)"));
    EXPECT_EQ(fixture.KeyBuffer(), u"");
}

}  // namespace
}  // namespace tavro
