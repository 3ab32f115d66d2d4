#include "output/KeystrokeSender.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "support/FakeEngine.h"

namespace tavro {
namespace {

using test::FakeEngine;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class KeystrokeSenderTest : public ::testing::Test {
  protected:
    std::vector<std::string> Send(const std::u16string& text) {
        fixture.log.Clear();
        fixture.engine.Sender().SendKeystrokes(text);
        return fixture.log.CallsStartingWith({"keybd_event", "TypeCharacter"});
    }

    FakeEngine fixture;
};

// Key tokens send their keys; only the whole text in its own case is a
// token, anything else is typed. A Russian or Greek layout types no "v":
// Ctrl+V still goes out with the V key, and Backspace with its own key,
// never as virtual key 255.
TEST_F(KeystrokeSenderTest, KeyTokensKeepTheirKeysWhereTheLayoutTypesNoSuchCharacter) {
    EXPECT_THAT(Send(u"%right%"), ElementsAre("keybd_event(39,0,0,0)", "keybd_event(39,0,2,0)"));
    EXPECT_THAT(Send(u"%help%"), ElementsAre("keybd_event(112,0,0,0)", "keybd_event(112,0,2,0)"));
    EXPECT_THAT(Send(u"%enter%"), ElementsAre("keybd_event(13,0,0,0)", "keybd_event(13,0,2,0)"));
    EXPECT_EQ(Send(u"%ENTER%").size(), 7U * 4);  // every one of them needs Shift
    EXPECT_EQ(Send(u"x%enter%").size(), 8U * 3 + 2);
    for (const bool latin : {true, false}) {
        SCOPED_TRACE(latin ? "a Latin layout" : "a layout without v");
        if (!latin) {
            fixture.keyboard.SetVkKeyScan(u'v', -1);
            fixture.keyboard.SetVkKeyScan(u'\b', -1);
        }
        EXPECT_THAT(Send(u"%paste%"),
                    ElementsAre("keybd_event(17,0,0,0)", "keybd_event(86,0,0,0)",
                                "keybd_event(86,0,2,0)", "keybd_event(17,0,2,0)"));
        EXPECT_THAT(Send(u"%back%"), ElementsAre("keybd_event(8,0,0,0)", "keybd_event(8,0,2,0)"));
    }
}

// Capitals and the shifted symbols get Shift, small letters too when Caps
// Lock is on; a CR LF types one Enter.
TEST_F(KeystrokeSenderTest, LettersAndSymbolsGetShiftByTheirRulesAndCapsLock) {
    EXPECT_THAT(
        Send(u"Ab1!"),
        ElementsAre("keybd_event(16,0,0,0)", "keybd_event(65,30,0,0)", "keybd_event(65,30,2,0)",
                    "keybd_event(16,0,2,0)",  //
                    "keybd_event(66,48,0,0)", "keybd_event(66,48,2,0)", "keybd_event(16,0,2,0)",
                    "keybd_event(49,2,0,0)", "keybd_event(49,2,2,0)", "keybd_event(16,0,2,0)",
                    "keybd_event(16,0,0,0)", "keybd_event(49,2,0,0)", "keybd_event(49,2,2,0)",
                    "keybd_event(16,0,2,0)"));
    EXPECT_THAT(
        Send(u"a\r\nb"),
        ElementsAre("keybd_event(65,30,0,0)", "keybd_event(65,30,2,0)", "keybd_event(16,0,2,0)",
                    "keybd_event(13,28,0,0)", "keybd_event(13,28,2,0)", "keybd_event(16,0,2,0)",
                    "keybd_event(66,48,0,0)", "keybd_event(66,48,2,0)", "keybd_event(16,0,2,0)"));

    fixture.engine.Capture().modifiers.CapsLockOn = true;
    EXPECT_THAT(Send(u"Ab"), ElementsAre("keybd_event(65,30,0,0)", "keybd_event(65,30,2,0)",
                                         "keybd_event(16,0,2,0)", "keybd_event(16,0,0,0)",
                                         "keybd_event(66,48,0,0)", "keybd_event(66,48,2,0)",
                                         "keybd_event(16,0,2,0)"));
}

// The modifiers the user still holds from typing the trigger are released
// first, each as the key it is (the right Shift, the extended AltGr and
// Windows key), so nothing goes out shifted or as a shortcut.
TEST_F(KeystrokeSenderTest, HeldModifiersAreReleasedFirstAsTheKeysTheyAre) {
    fixture.keyboard.KeyDown(17, 0x1D);
    fixture.keyboard.KeyDown(18, 0x38);
    EXPECT_THAT(Send(u""), ElementsAre("keybd_event(18,56,2,0)", "keybd_event(17,29,2,0)"));
    fixture.keyboard.KeyUp(17, 0x1D);
    fixture.keyboard.KeyUp(18, 0x38);

    fixture.keyboard.KeyDown(16, 0x36);   // right Shift
    fixture.keyboard.KeyDown(18, 0x138);  // AltGr
    fixture.keyboard.KeyDown(91, 0x15B);  // left Windows key
    EXPECT_THAT(Send(u"%paste%"), ElementsAre("keybd_event(18,56,3,0)", "keybd_event(16,54,2,0)",
                                              "keybd_event(91,91,3,0)", "keybd_event(17,0,0,0)",
                                              "keybd_event(86,0,0,0)", "keybd_event(86,0,2,0)",
                                              "keybd_event(17,0,2,0)"));
}

// A long text is typed in slices of fifty with the event loop running in
// between (the platform told of each pause). The characters without a key
// of each slice, at most sixteen, are announced at once, then typed by the
// platform (a surrogate pair as one, a lone surrogate as it is).
TEST_F(KeystrokeSenderTest, ALongTextIsTypedInSlicesWithTheEventLoopRunningBetween) {
    fixture.keyboard.SetVkKeyScan(u'é', -1);
    const std::u16string text = std::u16string(60, u'a') + u"é€😀" + std::u16string(60, u'b');
    EXPECT_EQ(Send(text).size(), 120U * 3 + 3);
    EXPECT_THAT(
        fixture.log.CallsStartingWith(
            {"YieldOnce", "PrepareToType", "KeepToWindow", "PauseSending", "TypeChar"}),
        ElementsAre("KeepToWindow(200)", "PauseSending()", "YieldOnce()",
                    "PrepareToType(233,8364,128512)", "TypeCharacter(233)", "TypeCharacter(8364)",
                    "TypeCharacter(128512)", "PauseSending()", "YieldOnce()", "KeepToWindow(0)"));
    EXPECT_FALSE(fixture.engine.Capture().delivery.InProgress);
    EXPECT_THAT(Send(std::u16string(1, char16_t{0xD83D})), ElementsAre("TypeCharacter(55357)"));

    std::u16string cjk;
    for (char16_t c = u'一'; c < u'一' + 20; ++c) {
        cjk += c;
    }
    EXPECT_EQ(Send(cjk).size(), 20U);
    const auto calls = fixture.log.CallsStartingWith({"YieldOnce", "PrepareToType"});
    ASSERT_EQ(calls.size(), 3U);
    EXPECT_EQ(std::count(calls[0].begin(), calls[0].end(), ','), 15);
    EXPECT_EQ(calls[1], "YieldOnce()");
    EXPECT_EQ(std::count(calls[2].begin(), calls[2].end(), ','), 3);
}

// The Backspaces that erase a trigger go out in the text's delivery, kept
// to its window with it (no key of the user's in between); before a token,
// which is no typing, they go out on their own.
TEST_F(KeystrokeSenderTest, ErasingBackspacesGoOutInTheDeliveryOfTheText) {
    const auto erase = [&](const std::u16string& text) {
        fixture.log.Clear();
        fixture.engine.Sender().EraseAndSendKeystrokes(2, text);
        return fixture.log.CallsStartingWith(
            {"KeepToWindow", "keybd_event(8,", "keybd_event(79,", "keybd_event(39,"});
    };
    EXPECT_THAT(erase(u"o"),
                ElementsAre("KeepToWindow(200)", "keybd_event(8,0,0,0)", "keybd_event(8,0,2,0)",
                            "keybd_event(8,0,0,0)", "keybd_event(8,0,2,0)",
                            "keybd_event(79,24,0,0)", "keybd_event(79,24,2,0)", "KeepToWindow(0)"));
    EXPECT_THAT(erase(u""),
                ElementsAre("KeepToWindow(200)", "keybd_event(8,0,0,0)", "keybd_event(8,0,2,0)",
                            "keybd_event(8,0,0,0)", "keybd_event(8,0,2,0)", "KeepToWindow(0)"));
    EXPECT_THAT(erase(u"%right%"), ElementsAre("keybd_event(8,0,0,0)", "keybd_event(8,0,2,0)",
                                               "keybd_event(8,0,0,0)", "keybd_event(8,0,2,0)",
                                               "keybd_event(39,0,0,0)", "keybd_event(39,0,2,0)"));
}

// Between slices typing stops on Esc, and when another window comes to the
// front (the rest would go there); a text after Esc is typed whole. Ctrl
// pressed meanwhile is let go before the next slice, or its characters
// would be shortcuts (Ctrl+W, Ctrl+Q).
TEST_F(KeystrokeSenderTest, BetweenSlicesTypingStopsOnEscOrAnotherWindowAndCtrlIsLetGo) {
    const std::u16string text(200, u'a');
    fixture.desktop.onYield = [&] { fixture.keyboard.Press(27); };
    EXPECT_EQ(Send(text).size(), 50U * 3);

    fixture.desktop.onYield = [&] { fixture.keyboard.KeyDown(17, 0x1D); };
    const auto events = Send(text);
    EXPECT_EQ(events.size(), 200U * 3 + 3);
    EXPECT_EQ(events[150], "keybd_event(17,29,2,0)");
    fixture.keyboard.KeyUp(17, 0x1D);

    constexpr WindowHandle kOther = 300;
    fixture.windows.AddWindow(kOther, u"Other", 3);
    fixture.desktop.onYield = [&] { fixture.windows.SetForeground(kOther); };
    EXPECT_EQ(Send(text).size(), 50U * 3);
}

// Keys the user types while a delivery runs are recorded, but fire nothing
// in the middle of it, and no other firing (from the tray menu) starts.
TEST_F(KeystrokeSenderTest, NothingFiresWhileADeliveryRuns) {
    fixture.AddTrigger(u"qq", u"Quick", u"Text", u"quick");
    fixture.desktop.onYield = [&] {
        fixture.keyboard.Type(u"qq");
        fixture.engine.Firer().FireTriggerByCaption(u"Quick - Text");
    };
    Send(std::u16string(80, u'a'));
    EXPECT_THAT(fixture.log.CallsStartingWith({"ShowTrigger"}), IsEmpty());
    EXPECT_TRUE(fixture.KeyBuffer().ends_with(u"qq"));
}

}  // namespace
}  // namespace tavro
