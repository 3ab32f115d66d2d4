#include "capture/KeyCapture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/FakeEngine.h"

namespace tavro {
namespace {

using test::FakeEngine;
using test::kEditor;
using test::kMainWindow;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr std::uint32_t kShift = 16;
constexpr std::uint32_t kCtrl = 17;
constexpr std::uint32_t kCapsLock = 20;

class KeyCaptureTest : public ::testing::Test {
  protected:
    void ShiftType(std::u16string_view keys) {
        fixture.keyboard.KeyDown(kShift);
        for (char16_t key : keys) {
            fixture.keyboard.Press(key >= u'a' && key <= u'z' ? key - 0x20 : key);
        }
        fixture.keyboard.KeyUp(kShift);
    }

    FakeEngine fixture;
};

// The keys are translated with the Shift and Caps Lock they were typed
// with: the buffer holds what appeared; Shift turns symbols into their US
// partners.
TEST_F(KeyCaptureTest, LettersAndSymbolsAreRecordedAsTheyWereTyped) {
    fixture.keyboard.Type(u"abc");
    ShiftType(u"a");
    EXPECT_EQ(fixture.KeyBuffer(), u"abcA");

    fixture.keyboard.Press(kCapsLock);
    fixture.keyboard.Type(u"abc");
    ShiftType(u"a");
    EXPECT_EQ(fixture.KeyBuffer(), u"abcAABCa");

    constexpr std::uint32_t kSlash = 0xBF;
    constexpr std::uint32_t kQuote = 0xDE;
    fixture.engine.Capture().keyBuffer.Clear();
    ShiftType(u"1");
    fixture.keyboard.KeyDown(kShift);
    for (const std::uint32_t key : {kSlash, kQuote, std::uint32_t{0x20}}) {
        fixture.keyboard.Press(key);
    }
    fixture.keyboard.KeyUp(kShift);
    EXPECT_EQ(fixture.KeyBuffer(), u"!?\" ");
}

TEST_F(KeyCaptureTest, NamedKeysAreBracketedAndModifiersAddNothing) {
    constexpr std::uint32_t kKeys[] = {13, 116, 108, 8, 16, 17, 18, 20, 144, 33, 123};
    for (std::uint32_t key : kKeys) {
        fixture.keyboard.KeyDown(key);
    }
    // The Backspace dropped the ">" of the keypad <enter>.
    EXPECT_EQ(fixture.engine.Capture().KeyDiary, u"<enter><f5><enter><back><pageup><f12>");
    EXPECT_EQ(fixture.KeyBuffer(), u"<enter><f5><enter<pageup><f12>");
}

TEST_F(KeyCaptureTest, BackspaceAndLeftDropOneCharacterAndStayInTheDiary) {
    constexpr std::uint32_t kBack = 8;
    constexpr std::uint32_t kLeft = 37;
    fixture.keyboard.Type(u"ab");
    fixture.keyboard.Press(13);
    fixture.keyboard.Press(kBack);
    EXPECT_EQ(fixture.KeyBuffer(), u"ab<enter");
    fixture.keyboard.Press(kLeft);
    EXPECT_EQ(fixture.KeyBuffer(), u"ab<ente");
    EXPECT_EQ(fixture.engine.Capture().KeyDiary, u"ab<enter><back><left>");

    fixture.engine.Capture().keyBuffer.Clear();
    fixture.keyboard.Press(kBack);
    EXPECT_EQ(fixture.KeyBuffer(), u"");
}

TEST_F(KeyCaptureTest, TheBufferKeepsFiftyAndTheDiaryFiveHundredCharacters) {
    const std::u16string fifty = u"abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwx";
    fixture.keyboard.Type(fifty);
    EXPECT_EQ(fixture.KeyBuffer(), fifty);
    fixture.keyboard.Type(u"y");
    EXPECT_EQ(fixture.KeyBuffer(), fifty.substr(1) + u"y");
    fixture.keyboard.Press(33);  // a name that does not fit is cut at the front
    EXPECT_EQ(fixture.KeyBuffer(), fifty.substr(9) + u"y<pageup>");

    for (int i = 0; i < 60; ++i) {
        fixture.keyboard.Press(34);  // <pagedown>, 10 characters
    }
    const std::u16string& diary = fixture.engine.Capture().KeyDiary;
    EXPECT_EQ(diary.size(), 500U);
    EXPECT_EQ(diary.substr(0, 10), u"<pagedown>");
    EXPECT_EQ(fixture.desktop.shownKeyDiary, diary);
    EXPECT_EQ(fixture.desktop.shownKeyBuffer, fixture.KeyBuffer());
}

TEST_F(KeyCaptureTest, RepeatedKeyDownsChangeFlagsButRecordNothing) {
    fixture.AddTrigger(u"a", u"A");
    fixture.keyboard.KeyDown(kCtrl, 0x401D);  // held key, previous-state bit set
    fixture.keyboard.KeyDown('A', 10001);

    EXPECT_TRUE(fixture.engine.Capture().modifiers.CtrlDown);
    EXPECT_EQ(fixture.desktop.shownModifierChecks,
              (std::array<bool, 4>{false, true, false, false}));
    EXPECT_EQ(fixture.KeyBuffer(), u"");
    EXPECT_THAT(fixture.log.CallsStartingWith({"ShowTrigger"}), IsEmpty());
    EXPECT_FALSE(fixture.desktop.editFieldsEnabled);

    fixture.keyboard.KeyDown('A', 10000);  // the highest keystate recorded
    EXPECT_EQ(fixture.KeyBuffer(), u"");   // fired at once
    EXPECT_TRUE(fixture.desktop.editFieldsEnabled);
}

TEST_F(KeyCaptureTest, TypingIntoTheProgramsOwnFieldsIsNotRecorded) {
    fixture.windows.SetForeground(kMainWindow);
    fixture.windows.SetActiveControl(u"txtTrigger");
    fixture.keyboard.Type(u"abc");
    EXPECT_EQ(fixture.KeyBuffer(), u"");
    EXPECT_EQ(fixture.engine.Capture().LastForegroundWindow, 0U);

    // With no control focused the window is still the program's own; so
    // are its dialogs.
    fixture.windows.SetActiveControl(u"");
    fixture.keyboard.Type(u"abc");
    EXPECT_EQ(fixture.KeyBuffer(), u"");
    constexpr WindowHandle kInputBox = 400;
    fixture.windows.AddWindow(kInputBox, u"Enter application caption", test::kOwnThread);
    fixture.windows.SetForeground(kInputBox);
    fixture.keyboard.Type(u"abc");
    EXPECT_EQ(fixture.KeyBuffer(), u"");
}

TEST_F(KeyCaptureTest, KeysInTheProgramsListBoxesAreRecordedByTheirKeyCodes) {
    constexpr std::uint32_t kKeypad1 = 97;
    fixture.windows.SetForeground(kMainWindow);
    fixture.windows.SetActiveControl(u"lstTriggers");
    fixture.keyboard.Press(kKeypad1);
    fixture.keyboard.Press('B');
    EXPECT_EQ(fixture.KeyBuffer(), u"ab");
    EXPECT_THAT(fixture.log.CallsStartingWith({"ToAscii"}), IsEmpty());
}

// Nor is another program's window named like the program's.
TEST_F(KeyCaptureTest, AWindowThatNamesNoProcessIsNeverTheProgramsOwn) {
    fixture.windows.SetCaption(kEditor, u"Tavro notes.txt - Mousepad");
    fixture.keyboard.Type(u"x");
    EXPECT_EQ(fixture.KeyBuffer(), u"x");
    fixture.engine.Capture().keyBuffer.Clear();

    constexpr WindowHandle kNoProcess = 300;
    fixture.windows.AddWindow(kNoProcess, u"Tavro!", 0);
    fixture.windows.SetForeground(kNoProcess);
    fixture.keyboard.Type(u"ab");
    EXPECT_EQ(fixture.KeyBuffer(), u"ab");

    // Not even when the main window's handle is unknown (0) and so names no
    // process either.
    fixture.windows.SetMainWindow(0);
    fixture.keyboard.Type(u"c");
    EXPECT_EQ(fixture.KeyBuffer(), u"abc");
}

TEST_F(KeyCaptureTest, TranslatesKeysThroughTheLayout) {
    constexpr std::uint32_t kEuroKey = 0xE2;
    fixture.keyboard.SetToAscii(kEuroKey, u'€');
    fixture.log.Clear();
    fixture.keyboard.KeyDown(kEuroKey, 0x56);
    EXPECT_EQ(fixture.KeyBuffer(), u"€");
    EXPECT_THAT(
        fixture.log.CallsStartingWith({"GetKeyboard", "MapVirtualKeyExA", "ToAscii"}),
        ElementsAre("GetKeyboardLayout()", "MapVirtualKeyExA(226,0,67699721)", "ToAscii(226,0,0)"));

    constexpr std::uint32_t kPause = 19;  // produces nothing
    fixture.keyboard.KeyDown(kPause);
    EXPECT_EQ(fixture.KeyBuffer(), std::u16string(u"€\0", 2));
}

// A German keyboard: ";" is Shift with the comma key, "@" is AltGr with Q.
// A trigger of punctuation fires, with no US Shift table in the way.
TEST_F(KeyCaptureTest, KeysOfAnotherLayoutAreRecordedWithTheirRealModifiers) {
    constexpr std::uint32_t kCommaKey = 0xBC;
    constexpr std::int16_t kAltGr = 0x138;
    fixture.keyboard.SetToAscii(kCommaKey, u',', u';', 0);
    fixture.keyboard.SetToAscii('Q', u'q', u'Q', u'@');
    fixture.AddTrigger(u";q@", u"Punctuation", u"Text", u"x");

    fixture.keyboard.KeyDown(kShift);
    fixture.keyboard.Press(kCommaKey);
    fixture.keyboard.KeyUp(kShift);
    fixture.keyboard.Press('Q');
    fixture.keyboard.KeyDown(18, kAltGr);
    fixture.keyboard.Press('Q');
    fixture.keyboard.KeyUp(18, kAltGr);

    EXPECT_EQ(fixture.engine.Capture().KeyDiary, u";q@");
    EXPECT_THAT(fixture.log.CallsStartingWith({"ShowTrigger"}), ElementsAre("ShowTrigger(0)"));
}

// A character outside the Basic Multilingual Plane is recorded whole: a
// trigger made of it fires, and one Backspace takes it away.
TEST_F(KeyCaptureTest, CharactersBeyondSixteenBitsAreRecordedWhole) {
    constexpr std::uint32_t kEmojiKey = 0xE2;
    fixture.keyboard.SetToAscii(kEmojiKey, U'😀');
    fixture.keyboard.Type(u"a");
    fixture.keyboard.Press(kEmojiKey);
    EXPECT_EQ(fixture.KeyBuffer(), u"a😀");
    fixture.keyboard.Press(8);
    EXPECT_EQ(fixture.KeyBuffer(), u"a");

    fixture.AddTrigger(u":😀", u"Smile", u"Text", u"x");
    fixture.keyboard.Type(u":");
    fixture.keyboard.Press(kEmojiKey);
    EXPECT_THAT(fixture.log.CallsStartingWith({"ShowTrigger"}), ElementsAre("ShowTrigger(0)"));

    // The front of a full buffer never keeps half of one.
    for (int i = 0; i < 30; ++i) {
        fixture.keyboard.Press(kEmojiKey);
    }
    EXPECT_EQ(fixture.KeyBuffer().size(), 50U);
    fixture.keyboard.Type(u"b");
    EXPECT_EQ(fixture.KeyBuffer().size(), 49U);
    EXPECT_EQ(fixture.KeyBuffer().front(), u'\xD83D');
}

// A Shift, Ctrl or Alt key-up clears its flag: the check boxes show it, and
// the next delivery has nothing to release.
TEST_F(KeyCaptureTest, ModifierKeyUpsClearTheirFlags) {
    for (std::uint32_t key : {kShift, kCtrl, std::uint32_t{18}}) {
        fixture.keyboard.KeyDown(key);
    }
    const ModifierFlags& flags = fixture.engine.Capture().modifiers;
    EXPECT_TRUE(flags.ShiftDown && flags.CtrlDown && flags.AltDown);
    for (std::uint32_t key : {kShift, kCtrl, std::uint32_t{18}}) {
        fixture.keyboard.KeyUp(key);
    }
    EXPECT_FALSE(flags.ShiftDown || flags.CtrlDown || flags.AltDown);
    EXPECT_EQ(fixture.desktop.shownModifierChecks,
              (std::array<bool, 4>{false, false, false, false}));
    fixture.log.Clear();
    fixture.engine.Sender().SendKeystrokes(u"%back%");
    EXPECT_THAT(fixture.KeyEvents(), ElementsAre("keybd_event(8,0,0,0)", "keybd_event(8,0,2,0)"));
}

TEST_F(KeyCaptureTest, CapsLockFollowsItsKeyOutsideAndTheSystemInsideTheProgram) {
    fixture.windows.SetKeyState(kCapsLock, 1);
    fixture.keyboard.Press(kCapsLock);
    EXPECT_TRUE(fixture.engine.Capture().modifiers.CapsLockOn);
    fixture.keyboard.Press(kCapsLock);
    EXPECT_FALSE(fixture.engine.Capture().modifiers.CapsLockOn);
    EXPECT_THAT(fixture.log.CallsStartingWith({"GetKeyState"}), IsEmpty());

    fixture.windows.SetForeground(kMainWindow);
    fixture.keyboard.KeyUp(kShift);
    EXPECT_TRUE(fixture.engine.Capture().modifiers.CapsLockOn);
    EXPECT_EQ(fixture.desktop.shownModifierChecks,
              (std::array<bool, 4>{false, false, false, true}));
}

TEST_F(KeyCaptureTest, RemembersTheLastForeignWindowInFront) {
    fixture.keyboard.Type(u"a");
    EXPECT_EQ(fixture.engine.Capture().LastForegroundWindow, kEditor);
    EXPECT_EQ(fixture.engine.Capture().ForegroundCaption,
              std::u16string(u"notes.txt - Mousepad\0", 21));

    constexpr WindowHandle kBrowser = 300;
    fixture.windows.AddWindow(kBrowser, u"Browser", 3);
    fixture.windows.SetForeground(kBrowser);
    fixture.engine.Timer1_Timer();
    EXPECT_EQ(fixture.engine.Capture().LastForegroundWindow, kBrowser);

    fixture.windows.SetForeground(kMainWindow);
    fixture.engine.Timer1_Timer();
    EXPECT_EQ(fixture.engine.Capture().LastForegroundWindow, kBrowser);
}

TEST_F(KeyCaptureTest, TypingTavrobuffOpensTheKeyBufferPageAndStillMatches) {
    fixture.AddTrigger(u"buff", u"Buff", u"Text", u"x");
    fixture.keyboard.Type(u"TavroBuf");
    fixture.log.Clear();
    fixture.keyboard.Type(u"f");
    EXPECT_THAT(fixture.log.CallsStartingWith({"mnuOpen", "SetTab", "ShowTrigger"}),
                ElementsAre("mnuOpen()", "SetTab(4)", "ShowTrigger(0)"));
}

// "tavrobuff" typed by the program itself opens nothing, not even when the
// user presses Shift right after it.
TEST_F(KeyCaptureTest, TavrobuffTypedByTheProgramOpensNothing) {
    fixture.engine.Applications().SendKeyApps = {u"Mousepad"};
    fixture.keyboard.SetEchoSentKeys(true);
    fixture.AddTrigger(u"tb", u"Buffer", u"Text", u"see tavrobuff");
    fixture.keyboard.Type(u"tb");
    fixture.keyboard.DeliverSentKeys();
    ASSERT_TRUE(fixture.KeyBuffer().ends_with(u"tavrobuff"));
    fixture.keyboard.KeyDown(kShift);
    EXPECT_THAT(fixture.log.CallsStartingWith({"mnuOpen"}), IsEmpty());
}

}  // namespace
}  // namespace tavro
