#include "output/KeystrokeSender.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

TEST_F(KeystrokeSenderTest, KeyTokensSendTheirKeys) {
    EXPECT_THAT(Send(u"%paste%"), ElementsAre("keybd_event(17,0,0,0)", "keybd_event(86,0,0,0)",
                                              "keybd_event(86,0,2,0)", "keybd_event(17,0,2,0)"));
    EXPECT_THAT(Send(u"%right%"), ElementsAre("keybd_event(39,0,0,0)", "keybd_event(39,0,2,0)"));
    EXPECT_THAT(Send(u"%back%"), ElementsAre("keybd_event(8,0,0,0)", "keybd_event(8,0,2,0)"));
    EXPECT_THAT(Send(u"%help%"), ElementsAre("keybd_event(112,0,0,0)", "keybd_event(112,0,2,0)"));
    EXPECT_THAT(Send(u"%enter%"), ElementsAre("keybd_event(13,0,0,0)", "keybd_event(13,0,2,0)"));
}

// A Russian or Greek layout types no "v": Ctrl+V still goes out with the V
// key, and Backspace with its own key, never as virtual key 255.
TEST_F(KeystrokeSenderTest, KeyTokensKeepTheirKeysWhereTheLayoutTypesNoSuchCharacter) {
    fixture.keyboard.SetVkKeyScan(u'v', -1);
    fixture.keyboard.SetVkKeyScan(u'\b', -1);
    EXPECT_THAT(Send(u"%paste%"), ElementsAre("keybd_event(17,0,0,0)", "keybd_event(86,0,0,0)",
                                              "keybd_event(86,0,2,0)", "keybd_event(17,0,2,0)"));
    EXPECT_THAT(Send(u"%back%"), ElementsAre("keybd_event(8,0,0,0)", "keybd_event(8,0,2,0)"));
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
}

TEST_F(KeystrokeSenderTest, CapsLockOnShiftsSmallLettersInstead) {
    Modifiers().CapsLockOn = true;
    EXPECT_THAT(Send(u"Ab"), ElementsAre("keybd_event(65,30,0,0)", "keybd_event(65,30,2,0)",
                                         "keybd_event(16,0,2,0)", "keybd_event(16,0,0,0)",
                                         "keybd_event(66,48,0,0)", "keybd_event(66,48,2,0)",
                                         "keybd_event(16,0,2,0)"));
}

TEST_F(KeystrokeSenderTest, EveryShiftedSymbolHoldsShift) {
    const std::u16string symbols = u"~!@#$%^&*()_+{}:<>?|\"";
    const auto events = Send(symbols);
    ASSERT_EQ(events.size(), symbols.size() * 4);
    for (std::size_t i = 0; i < symbols.size(); ++i) {
        EXPECT_EQ(events[i * 4], "keybd_event(16,0,0,0)") << i;
    }
}

TEST_F(KeystrokeSenderTest, ACarriageReturnLineFeedTypesOneEnter) {
    const auto events = Send(u"a\r\nb");
    EXPECT_THAT(
        std::vector(events.begin() + 3, events.begin() + 6),
        ElementsAre("keybd_event(13,28,0,0)", "keybd_event(13,28,2,0)", "keybd_event(16,0,2,0)"));
    EXPECT_EQ(events.size(), 9U);
}

TEST_F(KeystrokeSenderTest, HeldAltAndCtrlAreReleasedFirst) {
    Modifiers().AltDown = true;
    Modifiers().CtrlDown = true;
    EXPECT_THAT(Send(u""), ElementsAre("keybd_event(18,0,2,0)", "keybd_event(17,0,2,0)"));
    EXPECT_THAT(Send(u"%paste%"), ElementsAre("keybd_event(18,0,2,0)", "keybd_event(17,0,2,0)",
                                              "keybd_event(17,0,0,0)", "keybd_event(86,0,0,0)",
                                              "keybd_event(86,0,2,0)", "keybd_event(17,0,2,0)"));
    // The flags follow the real keys, not what was sent.
    EXPECT_TRUE(Modifiers().AltDown);
    EXPECT_TRUE(Modifiers().CtrlDown);
}

TEST_F(KeystrokeSenderTest, CharactersWithoutAKeyAreTypedByThePlatform) {
    fixture.keyboard.SetVkKeyScan(u'é', -1);
    EXPECT_THAT(Send(u"é€😀"),
                ElementsAre("TypeCharacter(233)", "TypeCharacter(8364)", "TypeCharacter(128512)"));
    EXPECT_THAT(Send(std::u16string(1, char16_t{0xD83D})), ElementsAre("TypeCharacter(55357)"));
}

}  // namespace
}  // namespace tavro
