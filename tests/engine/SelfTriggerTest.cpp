#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/SelfTriggerSimulation.h"
#include "support/FakeEngine.h"

namespace tavro {
namespace {

using test::FakeEngine;
using ::testing::ElementsAre;

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

TEST_F(SelfTriggerTest, AReplacementEndingWithItsTriggerIsTypedOnce) {
    fixture.AddTrigger(u"sig", u"Signature", u"Text", u"my sig");
    fixture.keyboard.Type(u"sig");
    DeliverSentKeys();

    EXPECT_EQ(Firings(), 1);
    // Recorded like typed keys all the same.
    EXPECT_EQ(fixture.KeyBuffer(), u"my sig");
    EXPECT_EQ(fixture.engine.Capture().KeyDiary, u"sig<back><back><back>my sig");

    // Nor does a modifier or a Backspace afterwards fire it.
    fixture.keyboard.KeyDown(16);  // Shift, to type a capital next
    fixture.keyboard.Type(u"x");
    fixture.keyboard.Press(8);  // and erased again
    DeliverSentKeys();
    EXPECT_EQ(Firings(), 1);
    EXPECT_EQ(fixture.KeyBuffer(), u"my sig");
}

TEST_F(SelfTriggerTest, KeysTypedByThePlatformDoNotFireEither) {
    fixture.AddTrigger(u"ü", u"Umlaut", u"Text", u"ü");
    fixture.keyboard.SetVkKeyScan(u'ü', -1);
    fixture.keyboard.SetToAscii(0xBA, u'ü');
    fixture.keyboard.KeyDown(0xBA);  // a German keyboard's ü key
    DeliverSentKeys();
    EXPECT_EQ(Firings(), 1);
    EXPECT_THAT(fixture.log.CallsStartingWith({"TypeCharacter"}),
                ElementsAre("TypeCharacter(252)"));
}

TEST_F(SelfTriggerTest, TheUserCompletingATriggerAfterTheReplacementFiresIt) {
    fixture.AddTrigger(u"sig", u"Signature", u"Text", u"my si");
    fixture.keyboard.Type(u"sig");
    DeliverSentKeys();
    fixture.keyboard.Type(u"g");
    DeliverSentKeys();
    EXPECT_EQ(Firings(), 2);
}

TEST_F(SelfTriggerTest, PastedReplacementsDoNotFireThroughTheirKeys) {
    fixture.engine.Applications().SendKeyApps.clear();
    fixture.AddTrigger(u"v", u"Vee", u"Text", u"pasted");  // Ctrl+V types a "v"
    fixture.keyboard.Type(u"v");
    DeliverSentKeys();
    EXPECT_EQ(Firings(), 1);
    EXPECT_EQ(fixture.KeyBuffer(), u"v");
}

TEST_F(SelfTriggerTest, UserKeysTypedAmongTheProgramsOwnAreStillTheUsers) {
    fixture.AddTrigger(u"sig", u"Signature", u"Text", u"xx");
    fixture.AddTrigger(u"qq", u"Q", u"Text", u"y");
    fixture.keyboard.Type(u"sig");
    fixture.keyboard.Type(u"qq");  // before the program's keys come back
    DeliverSentKeys();
    EXPECT_EQ(Firings(), 2);  // sig and qq, and nothing from "xx" or "y"
}

TEST_F(SelfTriggerTest, LostSentKeysChangeNothing) {
    fixture.AddTrigger(u"sig", u"Signature", u"Text", u"s");
    fixture.keyboard.SetEchoSentKeys(false);  // the hook lost them all
    fixture.keyboard.Type(u"sig");
    fixture.keyboard.Type(u"sig");
    EXPECT_EQ(Firings(), 2);
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
// that types its own trigger fires it again and again: after the user's
// firing, the trigger stops after ten firings on its own output within a
// second, with one message, and stays stopped.
TEST_F(SelfTriggerTest, ARunawayTriggerStopsWithOneMessage) {
    fixture.keyboard.SetEchoAsUserKeys(true);
    fixture.AddTrigger(u"sig", u"Signature", u"Text", u"my sig");
    fixture.keyboard.Type(u"sig");
    DeliverSentKeys();
    EXPECT_EQ(Firings(), 11);
    const std::vector<std::string> message = {
        "MessageBox(\"The trigger \"sig\" fired more than 10 times within one second, faster "
        "than anyone types it: its replacement probably types it again. Tavro will not fire it "
        "again until Tavro is restarted.\",\"Trigger Stopped\",Exclamation)"};
    EXPECT_EQ(fixture.log.CallsStartingWith({"MessageBox"}), message);

    fixture.desktop.AdvanceTickCount(3600 * 1000);
    fixture.keyboard.SetEchoAsUserKeys(false);
    fixture.keyboard.Type(u" sig");
    DeliverSentKeys();
    EXPECT_EQ(Firings(), 11);
    EXPECT_EQ(fixture.log.CallsStartingWith({"MessageBox"}), message);
}

// A program types the trigger twenty times within a millisecond, as
// automation does: every firing is the user's, none is stopped.
TEST_F(SelfTriggerTest, TriggersTypedAtMachineSpeedAllFire) {
    fixture.keyboard.SetEchoAsUserKeys(true);
    fixture.AddTrigger(u";sig", u"Signature", u"Text", u"XsigX");
    for (int i = 0; i < 20; ++i) {
        fixture.keyboard.Type(u" ;sig");
        DeliverSentKeys();
    }
    EXPECT_EQ(Firings(), 20);
    EXPECT_THAT(fixture.log.CallsStartingWith({"MessageBox"}), ::testing::IsEmpty());
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
