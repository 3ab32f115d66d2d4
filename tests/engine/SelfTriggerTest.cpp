#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

TEST_F(SelfTriggerTest, AModifierOrBackspaceAfterTheReplacementDoesNotFireIt) {
    fixture.AddTrigger(u"sig", u"Signature", u"Text", u"my sig");
    fixture.keyboard.Type(u"sig");
    DeliverSentKeys();

    fixture.keyboard.KeyDown(16);  // Shift, to type a capital next
    fixture.keyboard.Type(u"x");
    fixture.keyboard.Press(8);  // and erased again
    DeliverSentKeys();

    EXPECT_EQ(Firings(), 1);
    EXPECT_EQ(fixture.KeyBuffer(), u"my sig");
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

TEST_F(SelfTriggerTest, ForgottenSentKeysExpireWithTheTimer) {
    fixture.AddTrigger(u"sig", u"Signature", u"Text", u"s");
    fixture.keyboard.SetEchoSentKeys(false);  // the hook lost them all
    fixture.keyboard.Type(u"sig");
    for (int tick = 0; tick < 3; ++tick) {
        fixture.engine.Timer1_Timer();
    }
    fixture.keyboard.Type(u"sig");
    EXPECT_EQ(Firings(), 2);
}

}  // namespace
}  // namespace tavro
