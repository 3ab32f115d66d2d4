#include "capture/OwnKeyEvents.h"

#include <gtest/gtest.h>

namespace tavro {
namespace {

TEST(OwnKeyEvents, RecognisesSentKeyDownsInOrder) {
    OwnKeyEvents own;
    own.ExpectKeyDown('A');
    own.ExpectKeyDown('B');
    EXPECT_FALSE(own.TakeOwnKeyDown('C'));  // the user's, typed in between
    EXPECT_TRUE(own.TakeOwnKeyDown('A'));
    EXPECT_FALSE(own.TakeOwnKeyDown('A'));
    EXPECT_TRUE(own.TakeOwnKeyDown('B'));
    EXPECT_TRUE(own.Empty());
}

TEST(OwnKeyEvents, SkipsSentKeyDownsThatNeverCameBack) {
    OwnKeyEvents own;
    for (std::uint32_t key : {'A', 'B', 'C'}) {
        own.ExpectKeyDown(key);
    }
    EXPECT_TRUE(own.TakeOwnKeyDown('C'));
    EXPECT_TRUE(own.Empty());
}

TEST(OwnKeyEvents, LooksOnlyAFewKeysAhead) {
    OwnKeyEvents own;
    for (int i = 0; i < 8; ++i) {
        own.ExpectKeyDown('A');
    }
    own.ExpectKeyDown('Z');
    EXPECT_FALSE(own.TakeOwnKeyDown('Z'));
    EXPECT_TRUE(own.TakeOwnKeyDown('A'));
}

TEST(OwnKeyEvents, ACharacterWithoutKeyMatchesAnyKeyCode) {
    OwnKeyEvents own;
    own.ExpectAnyKeyDown();
    EXPECT_TRUE(own.TakeOwnKeyDown(0xE7));
}

TEST(OwnKeyEvents, ForgetsSentKeysAfterTwoIdleTimerPeriods) {
    OwnKeyEvents own;
    own.ExpectKeyDown('A');
    own.ExpectKeyDown('B');
    own.OnTimerTick();  // sent during this period
    EXPECT_TRUE(own.TakeOwnKeyDown('A'));
    own.OnTimerTick();  // one came back: still waiting for the other
    own.OnTimerTick();
    EXPECT_FALSE(own.Empty());
    own.OnTimerTick();
    EXPECT_TRUE(own.Empty());
    EXPECT_FALSE(own.TakeOwnKeyDown('B'));
}

}  // namespace
}  // namespace tavro
