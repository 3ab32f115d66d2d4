#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/SelfTriggerSimulation.h"
#include "support/FakeEngine.h"

namespace tavro {
namespace {

using test::FakeEngine;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// The keys the program sends come back through the keyboard hook, as they do
// on every real platform.
class SelfTriggerTest : public ::testing::Test {
  protected:
    SelfTriggerTest() {
        fixture.keyboard.SetEchoSentKeys(true);
        fixture.engine.Applications().SendKeyApps = {u"Mousepad"};
    }

    int Firings() const {
        return static_cast<int>(fixture.log.CallsStartingWith({"ShowTrigger"}).size());
    }

    // Delivers what the program sent, and what that makes it send, until
    // nothing is left; a loop stops at the limit.
    void DeliverSentKeys() {
        for (int round = 0; round < 50 && fixture.keyboard.DeliverSentKeys(1000) > 0; ++round) {
        }
    }

    FakeEngine fixture;
};

// Recorded like typed keys, the program's own keys fire nothing: a
// replacement ending with its trigger, a modifier or Backspace of the
// user's after it, a character the platform typed, the "v" of a Ctrl+V.
TEST_F(SelfTriggerTest, TheProgramsOwnKeysFireNothing) {
    fixture.AddTrigger(u"sig", u"Signature", u"Text", u"my sig");
    fixture.keyboard.Type(u"sig");
    DeliverSentKeys();
    EXPECT_EQ(Firings(), 1);
    EXPECT_EQ(fixture.KeyBuffer(), u"my sig");
    EXPECT_EQ(fixture.engine.Capture().KeyDiary, u"sig<back><back><back>my sig");
    fixture.keyboard.KeyDown(16);  // Shift, to type a capital next
    fixture.keyboard.Type(u"x");
    fixture.keyboard.Press(8);  // and erased again
    fixture.keyboard.KeyUp(16);
    DeliverSentKeys();
    EXPECT_EQ(Firings(), 1);
    EXPECT_EQ(fixture.KeyBuffer(), u"my sig");

    fixture.AddTrigger(u"ü", u"Umlaut", u"Text", u"ü");
    fixture.keyboard.SetVkKeyScan(u'ü', -1);
    fixture.keyboard.SetToAscii(0xBA, u'ü');
    fixture.keyboard.Press(0xBA);  // a German keyboard's ü key
    DeliverSentKeys();
    EXPECT_EQ(Firings(), 2);

    fixture.engine.Applications().SendKeyApps.clear();
    fixture.AddTrigger(u"v", u"Vee", u"Text", u"pasted");
    fixture.keyboard.Type(u"v");
    DeliverSentKeys();
    EXPECT_EQ(Firings(), 3);
}

// The user's keys always count: completing a trigger the replacement began,
// typed before the program's keys come back, or after they were lost.
TEST_F(SelfTriggerTest, TheUsersKeysFireAmongTheProgramsOwn) {
    fixture.AddTrigger(u"sig", u"Signature", u"Text", u"my si");
    fixture.AddTrigger(u"qq", u"Q", u"Text", u"y");
    fixture.keyboard.Type(u"sig");
    DeliverSentKeys();
    fixture.keyboard.Type(u"g");
    EXPECT_EQ(Firings(), 2);

    fixture.keyboard.Type(u"sig");
    fixture.keyboard.Type(u"qq");
    DeliverSentKeys();
    EXPECT_EQ(Firings(), 4);  // and nothing from "my si" or "y"

    fixture.keyboard.SetEchoSentKeys(false);
    fixture.keyboard.Type(u"qqqq");
    EXPECT_EQ(Firings(), 6);
}

// The user holds Shift for "BTW"; the program lets go of it before it
// types. The flag keeps saying Shift is down, as the user still holds it,
// until the user lets go: only then does a firing release nothing.
TEST_F(SelfTriggerTest, ShiftHeldForTheTriggerIsReleasedAndLeftToTheUser) {
    fixture.AddTrigger(u"BTW", u"By the way", u"Text", u"by the way");
    fixture.keyboard.KeyDown(16, 0x2A);
    for (std::uint32_t key : {'B', 'T', 'W'}) {
        fixture.keyboard.Press(key);
    }
    EXPECT_EQ(fixture.KeyEvents().front(), "keybd_event(16,42,2,0)");
    DeliverSentKeys();
    EXPECT_TRUE(fixture.engine.Capture().modifiers.ShiftDown);

    fixture.keyboard.KeyUp(16, 0x2A);
    EXPECT_FALSE(fixture.engine.Capture().modifiers.ShiftDown);
    fixture.log.Clear();
    fixture.keyboard.Type(u"btw");
    EXPECT_EQ(fixture.KeyEvents().front(), "keybd_event(8,0,0,0)");
}

// On a platform that took the program's keys for the user's, a replacement
// that types its own trigger fires it again and again: it stops after ten
// firings on its own output within a second, with one message, and stays
// stopped. A trigger typed twenty times within a millisecond, as automation
// does, is no runaway: its replacement holds only part of it.
TEST_F(SelfTriggerTest, ARunawayTriggerStopsButTriggersTypedAtMachineSpeedAllFire) {
    fixture.keyboard.SetEchoAsUserKeys(true);
    fixture.AddTrigger(u"sig", u"Signature", u"Text", u"my sig");
    fixture.AddTrigger(u";ab", u"Automation", u"Text", u"XabX");
    fixture.keyboard.Type(u"sig");
    DeliverSentKeys();
    EXPECT_EQ(Firings(), 11);
    for (int i = 0; i < 20; ++i) {
        fixture.keyboard.Type(u" ;ab");
        DeliverSentKeys();
    }
    EXPECT_EQ(Firings(), 31);

    fixture.desktop.AdvanceTickCount(3600 * 1000);
    fixture.keyboard.SetEchoAsUserKeys(false);
    fixture.keyboard.Type(u" sig");
    DeliverSentKeys();
    EXPECT_EQ(Firings(), 31);
    EXPECT_THAT(fixture.log.CallsStartingWith({"MessageBox"}),
                ElementsAre(AllOf(HasSubstr("\"sig\""), HasSubstr("\"Trigger Stopped\""))));
}

// No interleaving of the user's keys with the program's own, and no loss or
// reordering of its own keys, makes the program fire on its own output; a
// trigger typed after the echo still fires. bench/self_trigger_stress runs
// many more seeds.
TEST(SelfTriggerRandomTest, FiringsNeverOutnumberTheUsersTriggerKeys) {
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
        const test::SelfTriggerRun run = test::RunSelfTriggerSimulation(seed);
        ASSERT_LE(run.firings, run.userTriggerEnds) << "seed " << seed << ": " << run.description;
        ASSERT_TRUE(run.lastTriggerFiredOnce) << "seed " << seed << ": " << run.description;
        ASSERT_EQ(run.messages, 0) << "seed " << seed << ": " << run.description;
    }
}

}  // namespace
}  // namespace tavro
