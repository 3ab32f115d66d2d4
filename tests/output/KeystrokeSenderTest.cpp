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
        return fixture.log.CallsStartingWith({"keybd_event", "TypeCharacter", "mnu", "SetTab"});
    }
    ModifierFlags& Modifiers() { return fixture.engine.Capture().modifiers; }

    FakeEngine fixture;
};

// Key tokens send their keys. A Russian or Greek layout types no "v":
// Ctrl+V still goes out with the V key, and Backspace with its own key,
// never as virtual key 255.
TEST_F(KeystrokeSenderTest, KeyTokensKeepTheirKeysWhereTheLayoutTypesNoSuchCharacter) {
    EXPECT_THAT(Send(u"%right%"), ElementsAre("keybd_event(39,0,0,0)", "keybd_event(39,0,2,0)"));
    EXPECT_THAT(Send(u"%help%"), ElementsAre("keybd_event(112,0,0,0)", "keybd_event(112,0,2,0)"));
    EXPECT_THAT(Send(u"%enter%"), ElementsAre("keybd_event(13,0,0,0)", "keybd_event(13,0,2,0)"));
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

TEST_F(KeystrokeSenderTest, WindowTokensRunTheMainWindowsCommands) {
    EXPECT_THAT(Send(u"%tavroopen%"), ElementsAre("mnuOpen()"));
    EXPECT_THAT(Send(u"%tavronew%"), ElementsAre("mnuOpen()", "mnuNewTrigger()"));
    EXPECT_THAT(Send(u"%tavrobuff%"), ElementsAre("mnuOpen()", "SetTab(4)"));
}

TEST_F(KeystrokeSenderTest, ATokenIsOnlyTheWholeStringInItsOwnCase) {
    EXPECT_EQ(Send(u"%ENTER%").size(), 7U * 4);  // every one of them needs Shift
    EXPECT_EQ(Send(u"x%enter%").size(), 8U * 3 + 2);
}

TEST_F(KeystrokeSenderTest, LettersAndSymbolsGetShiftByTheirRulesWithCapsLockOff) {
    EXPECT_THAT(
        Send(u"Ab1!"),
        ElementsAre("keybd_event(16,0,0,0)", "keybd_event(65,30,0,0)", "keybd_event(65,30,2,0)",
                    "keybd_event(16,0,2,0)",  //
                    "keybd_event(66,48,0,0)", "keybd_event(66,48,2,0)", "keybd_event(16,0,2,0)",
                    "keybd_event(49,2,0,0)", "keybd_event(49,2,2,0)", "keybd_event(16,0,2,0)",
                    "keybd_event(16,0,0,0)", "keybd_event(49,2,0,0)", "keybd_event(49,2,2,0)",
                    "keybd_event(16,0,2,0)"));

    // Every shifted symbol holds Shift.
    const std::u16string symbols = u"~!@#$%^&*()_+{}:<>?|\"";
    const auto events = Send(symbols);
    ASSERT_EQ(events.size(), symbols.size() * 4);
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        EXPECT_EQ(events[i * 4], "keybd_event(16,0,0,0)") << i;
    }
}

TEST_F(KeystrokeSenderTest, CapsLockOnShiftsSmallLettersInstead) {
    Modifiers().CapsLockOn = true;
    EXPECT_THAT(Send(u"Ab"), ElementsAre("keybd_event(65,30,0,0)", "keybd_event(65,30,2,0)",
                                         "keybd_event(16,0,2,0)", "keybd_event(16,0,0,0)",
                                         "keybd_event(66,48,0,0)", "keybd_event(66,48,2,0)",
                                         "keybd_event(16,0,2,0)"));
}

TEST_F(KeystrokeSenderTest, ACarriageReturnLineFeedTypesOneEnter) {
    const auto events = Send(u"a\r\nb");
    EXPECT_THAT(
        std::vector(events.begin() + 3, events.begin() + 6),
        ElementsAre("keybd_event(13,28,0,0)", "keybd_event(13,28,2,0)", "keybd_event(16,0,2,0)"));
    EXPECT_EQ(events.size(), 9U);
}

TEST_F(KeystrokeSenderTest, HeldAltAndCtrlAreReleasedFirst) {
    fixture.keyboard.KeyDown(17, 0x1D);
    fixture.keyboard.KeyDown(18, 0x38);
    EXPECT_THAT(Send(u""), ElementsAre("keybd_event(18,56,2,0)", "keybd_event(17,29,2,0)"));
    EXPECT_THAT(Send(u"%paste%"), ElementsAre("keybd_event(18,56,2,0)", "keybd_event(17,29,2,0)",
                                              "keybd_event(17,0,0,0)", "keybd_event(86,0,0,0)",
                                              "keybd_event(86,0,2,0)", "keybd_event(17,0,2,0)"));
    // The flags follow the user's keys, not what was sent.
    EXPECT_TRUE(Modifiers().AltDown);
    EXPECT_TRUE(Modifiers().CtrlDown);
}

// The last key of "BTW" or "hi!" is typed with Shift held, and AltGr or a
// Windows key may be held too: each is released as the key it is (the right
// Shift, the extended right Alt), so nothing goes out shifted.
TEST_F(KeystrokeSenderTest, HeldShiftAltGrAndWindowsKeysAreReleasedAsTheKeysTheyAre) {
    fixture.keyboard.KeyDown(16, 0x36);   // right Shift
    fixture.keyboard.KeyDown(18, 0x138);  // AltGr
    fixture.keyboard.KeyDown(91, 0x15B);  // left Windows key
    EXPECT_THAT(Send(u"%paste%"), ElementsAre("keybd_event(18,56,3,0)", "keybd_event(16,54,2,0)",
                                              "keybd_event(91,91,3,0)", "keybd_event(17,0,0,0)",
                                              "keybd_event(86,0,0,0)", "keybd_event(86,0,2,0)",
                                              "keybd_event(17,0,2,0)"));
}

TEST_F(KeystrokeSenderTest, CharactersWithoutAKeyAreTypedByThePlatform) {
    fixture.keyboard.SetVkKeyScan(u'é', -1);
    EXPECT_THAT(Send(u"é€😀"),
                ElementsAre("TypeCharacter(233)", "TypeCharacter(8364)", "TypeCharacter(128512)"));
    EXPECT_THAT(Send(std::u16string(1, char16_t{0xD83D})), ElementsAre("TypeCharacter(55357)"));
}

// A long text is typed in slices with the event loop running in between
// (the platform told of each pause); the characters without a key of each
// slice are announced at once.
TEST_F(KeystrokeSenderTest, ALongTextIsTypedInSlicesWithTheEventLoopRunningBetween) {
    fixture.keyboard.SetVkKeyScan(u'é', -1);
    const std::u16string text = std::u16string(60, u'a') + u"é€" + std::u16string(60, u'b');
    fixture.log.Clear();
    fixture.engine.Sender().SendKeystrokes(text);
    EXPECT_THAT(
        fixture.log.CallsStartingWith(
            {"YieldOnce", "PrepareToType", "KeepToWindow", "PauseSending"}),
        ElementsAre("KeepToWindow(200)", "PauseSending()", "YieldOnce()", "PrepareToType(233,8364)",
                    "PauseSending()", "YieldOnce()", "KeepToWindow(0)"));
    EXPECT_EQ(fixture.log.CallsStartingWith({"keybd_event(65,30,0", "keybd_event(66,48,0"}).size(),
              120U);
    EXPECT_FALSE(fixture.engine.Capture().delivery.InProgress);
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

TEST_F(KeystrokeSenderTest, ASliceEndsBeforeItsSeventeenthCharacterWithoutAKey) {
    std::u16string text;
    for (char16_t c = u'一'; c < u'一' + 20; ++c) {
        text += c;
    }
    fixture.log.Clear();
    fixture.engine.Sender().SendKeystrokes(text);
    const auto calls = fixture.log.CallsStartingWith({"YieldOnce", "PrepareToType"});
    ASSERT_EQ(calls.size(), 3U);
    EXPECT_EQ(std::count(calls[0].begin(), calls[0].end(), ','), 15);
    EXPECT_EQ(calls[1], "YieldOnce()");
    EXPECT_EQ(std::count(calls[2].begin(), calls[2].end(), ','), 3);
    EXPECT_EQ(fixture.log.CallsStartingWith({"TypeCharacter"}).size(), 20U);
}

// The rest of a long text would go to whatever the user switched to.
TEST_F(KeystrokeSenderTest, TypingStopsWhenAnotherWindowComesToTheFront) {
    constexpr WindowHandle kOther = 300;
    fixture.windows.AddWindow(kOther, u"Other", 3);
    fixture.desktop.onYield = [&] { fixture.windows.SetForeground(kOther); };
    EXPECT_EQ(Send(std::u16string(200, u'a')).size(), 50U * 3);
}

TEST_F(KeystrokeSenderTest, TypingStopsOnEsc) {
    fixture.desktop.onYield = [&] { fixture.keyboard.Press(27); };
    EXPECT_EQ(Send(std::u16string(200, u'a')).size(), 50U * 3);
    // The next text is typed whole.
    fixture.desktop.onYield = nullptr;
    EXPECT_EQ(Send(std::u16string(200, u'a')).size(), 200U * 3);
}

// Ctrl pressed while the event loop runs between slices is let go before
// the next slice, or its characters would be shortcuts (Ctrl+W, Ctrl+Q).
TEST_F(KeystrokeSenderTest, AModifierPressedBetweenSlicesIsReleasedBeforeTheNext) {
    fixture.desktop.onYield = [&] {
        fixture.keyboard.KeyDown(17, 0x1D);
        fixture.log.Clear();
    };
    Send(std::u16string(60, u'a'));
    EXPECT_EQ(fixture.log.CallsStartingWith({"keybd_event"}).front(), "keybd_event(17,29,2,0)");
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
