#include "output/TriggerFirer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "output/ReplacementDateTime.h"
#include "support/FakeEngine.h"

namespace tavro {
namespace {

using test::FakeEngine;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The Backspaces that erase a typed trigger.
TEST(CountTriggerKeys, CountsCharactersAndTheKeysThatTypeOne) {
    EXPECT_EQ(CountTriggerKeys(u"sig"), 3);
    EXPECT_EQ(CountTriggerKeys(u"abc<right>"), 3);
    // Enter and Tab put a character into the text; F5 does not.
    EXPECT_EQ(CountTriggerKeys(u"<enter>x<f5>"), 2);
    EXPECT_EQ(CountTriggerKeys(u"abc<ENTER>"), 4);
    EXPECT_EQ(CountTriggerKeys(u"a<tab>b"), 3);
    EXPECT_EQ(CountTriggerKeys(u"a<b"), 3);     // no ">" after the "<"
    EXPECT_EQ(CountTriggerKeys(u"a>b<c>"), 3);  // ">" before any "<" counts
    EXPECT_EQ(CountTriggerKeys(u"<x<y>z"), 1);  // up to the first ">"
    EXPECT_EQ(CountTriggerKeys(u"%none%"), 0);
    EXPECT_EQ(CountTriggerKeys(u"%NONE%"), 6);
    EXPECT_EQ(CountTriggerKeys(u":😀"), 2);
}

class FiringTest : public ::testing::Test {
  protected:
    FakeEngine fixture;
};

// On a 12-hour clock; only the first of each token, in its own case.
TEST_F(FiringTest, FiringReplacesDateAndTimeInTheStagedText) {
    EXPECT_EQ(FormatReplacementDate({.year = 2027, .month = 1, .day = 31}), u"Jan 31 2027");
    EXPECT_EQ(FormatReplacementTime({.hour = 18, .minute = 41}), u"6:41 pm");
    EXPECT_EQ(FormatReplacementTime({.hour = 0, .minute = 5}), u"12:05 am");
    EXPECT_EQ(FormatReplacementTime({.hour = 12, .minute = 0}), u"12:00 pm");
    const int slot =
        fixture.AddTrigger(u"dt", u"Stamp", u"Text", u"on %date% at %time% %date%%time%%DATE%");
    fixture.desktop.SetNow({.year = 2026, .month = 12, .day = 7, .hour = 9, .minute = 3});
    fixture.engine.Firer().FireTrigger(u"%none%", slot);
    EXPECT_THAT(fixture.log.CallsStartingWith({"Clipboard.SetText"}),
                ElementsAre("Clipboard.SetText(\"on Dec 7 2026 at 9:03 am %date%%time%%DATE%\")"));
}

// The tray menu fires the first entry equal to its caption, erasing
// nothing; a menu entry whose trigger is gone (empty) fires nothing.
TEST_F(FiringTest, MenuFiringByCaptionErasesNothingAndFiresTheFirstEqualEntry) {
    fixture.AddTrigger(u"one", u"Greeting", u"Text", u"first");
    fixture.AddTrigger(u"two", u"Greeting", u"Text", u"second");
    fixture.engine.Firer().FireTriggerByCaption(u"  greeting - TEXT ");
    EXPECT_THAT(
        fixture.log.CallsStartingWith({"ShowTrigger", "Clipboard.SetText", "keybd_event(8,"}),
        ElementsAre("ShowTrigger(0)", "Clipboard.SetText(\"first\")"));

    fixture.log.Clear();
    fixture.engine.Firer().FireTriggerByCaption(u"Greeting - RTF");
    fixture.engine.Capture().keyBuffer.Append(u"xy", KeyOrigin::User);
    fixture.engine.Firer().FireTrigger(u"", 0);
    EXPECT_THAT(fixture.log.Calls(), IsEmpty());
    EXPECT_EQ(fixture.KeyBuffer(), u"xy");
}

TEST_F(FiringTest, AReloadWhileShowingTheTriggerChangesWhatIsErasedAndPasted) {
    fixture.AddTrigger(u"sig", u"Signature", u"Text", u"old");
    fixture.AddTrigger(u"a", u"Alpha", u"Launch");
    fixture.engine.Applications().SendKeyApps = {u"Mousepad"};
    // Saving and reloading reorders the table: "Launch" comes before "Text".
    fixture.desktop.onShowTrigger = [this](int) {
        TriggerTable& table = fixture.engine.Triggers();
        std::swap(table.Slot(0), table.Slot(1));
        fixture.desktop.Stage(
            0, {.replaceText = u"new", .replaceRTF = "", .commandLine = u"", .hasPicture = false});
    };
    fixture.keyboard.Type(u"sig");

    // The type came from before the reload (keystrokes); the erase count and
    // the text from after it.
    EXPECT_EQ(fixture.log.CallsStartingWith({"keybd_event(8,0,0"}).size(), 1U);
    EXPECT_THAT(fixture.log.CallsStartingWith({"ShellExecuteA", "Clipboard"}), IsEmpty());
    EXPECT_EQ(fixture.log.CallsStartingWith({"keybd_event(78,"}).size(), 2U);  // the n of "new"
}

}  // namespace
}  // namespace tavro
