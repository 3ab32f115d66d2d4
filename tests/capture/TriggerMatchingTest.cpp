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
    std::size_t Backspaces() const {
        return fixture.log.CallsStartingWith({"keybd_event(8,0,0"}).size();
    }

    FakeEngine fixture;
};

// A trigger fires when the buffer ends with it, with no separator and in
// any case, also on the named key it ends with; the buffer is emptied and
// the typed trigger erased. Deleted slots and slots beyond the count never
// match.
TEST_F(TriggerMatchingTest, ATriggerAtTheEndOfTheBufferFiresAndEmptiesIt) {
    fixture.AddTrigger(u"", u"Deleted");
    fixture.AddTrigger(u"SIG", u"Signature");
    fixture.AddTrigger(u"abc<ENTER>", u"Enter");
    fixture.engine.Triggers().Slot(3).Trigger = u"ig";  // filled, but not in use
    fixture.keyboard.Type(u"hello si");
    EXPECT_THAT(Firings(), IsEmpty());
    fixture.keyboard.Type(u"g");
    EXPECT_THAT(Firings(), ElementsAre("ShowTrigger(1)"));
    EXPECT_EQ(fixture.KeyBuffer(), u"");
    EXPECT_EQ(Backspaces(), 3U);

    fixture.keyboard.Type(u"xSiG");
    fixture.keyboard.Type(u"abc");
    fixture.keyboard.Press(13);
    fixture.keyboard.Type(u"abc<enter>");  // the seven characters one by one
    EXPECT_THAT(Firings(), ElementsAre("ShowTrigger(1)", "ShowTrigger(1)", "ShowTrigger(2)",
                                       "ShowTrigger(2)"));
}

// Several matches open the choice menu, in slot order; the chosen trigger
// fires and erases what was typed, and keys typed while the menu was open
// are forgotten when it closes.
TEST_F(TriggerMatchingTest, SeveralMatchesOpenTheChoiceMenu) {
    fixture.AddTrigger(u"ig", u"Short");
    fixture.AddTrigger(u"other", u"Other");
    fixture.AddTrigger(u"sig", u"Long");
    fixture.desktop.onTriggerChoice = [this](const std::vector<int>& slots) {
        fixture.engine.Firer().FireTrigger(fixture.engine.Triggers().Slot(slots[1]).Trigger,
                                           slots[1]);
        fixture.keyboard.Type(u"xy");
    };
    fixture.keyboard.Type(u"sig");
    EXPECT_THAT(Firings(), ElementsAre("ShowTriggerChoice(0,2)", "ShowTrigger(2)"));
    EXPECT_EQ(Backspaces(), 3U);
    EXPECT_EQ(fixture.KeyBuffer(), u"");
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
