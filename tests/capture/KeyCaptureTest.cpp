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

constexpr std::uint32_t kBack = 8;
constexpr std::uint32_t kShift = 16;
constexpr std::uint32_t kCtrl = 17;
constexpr std::uint32_t kAlt = 18;
constexpr std::uint32_t kCapsLock = 20;

class KeyCaptureTest : public ::testing::Test {
  protected:
    void ShiftPress(std::initializer_list<std::uint32_t> keys) {
        fixture.keyboard.KeyDown(kShift);
        for (const std::uint32_t key : keys) {
            fixture.keyboard.Press(key);
        }
        fixture.keyboard.KeyUp(kShift);
    }
    std::vector<std::string> Firings() const {
        return fixture.log.CallsStartingWith({"ShowTrigger"});
    }

    FakeEngine fixture;
};

// The buffer holds the characters that appeared, by Shift (symbols too) and
// Caps Lock; named keys are bracketed, modifiers add nothing; Backspace and
// Left take one character off (the ">" of a name too) and stay in the diary.
// The key buffer page shows both.
TEST_F(KeyCaptureTest, TheBufferHoldsWhatAppearedAndTheDiaryEveryKey) {
    fixture.keyboard.Press(kBack);  // on an empty buffer
    fixture.keyboard.Type(u"ab");
    ShiftPress({'A', '1', 0xBF, 0xDE});  // A ! ? "
    fixture.keyboard.Press(kCapsLock);
    fixture.keyboard.Type(u"c");
    ShiftPress({'D'});
    // Enter, F5, keypad Enter, Backspace, Ctrl, Alt, Num Lock, Page Up, Left.
    for (const std::uint32_t key : {13U, 116U, 108U, kBack, kCtrl, kAlt, 144U, 33U, 37U}) {
        fixture.keyboard.Press(key);
    }
    EXPECT_EQ(fixture.KeyBuffer(), u"abA!?\"Cd<enter><f5><enter<pageup");
    EXPECT_EQ(fixture.engine.Capture().KeyDiary,
              u"<back>abA!?\"Cd<enter><f5><enter><back><pageup><left>");
    EXPECT_EQ(fixture.desktop.shownKeyDiary, fixture.engine.Capture().KeyDiary);
    EXPECT_EQ(fixture.desktop.shownKeyBuffer, fixture.KeyBuffer());
}

// Shift, Ctrl and Alt follow the user's keys, repeats of a held key
// included, which record and fire nothing; the check boxes show them, and
// once they are let go a delivery has nothing to release. Caps Lock follows
// its key outside the program and the system's state inside it.
TEST_F(KeyCaptureTest, ModifierFlagsFollowTheUsersKeys) {
    const ModifierFlags& flags = fixture.engine.Capture().modifiers;
    fixture.AddTrigger(u"a", u"A");
    fixture.keyboard.KeyDown(kCtrl, 0x401D);
    fixture.keyboard.KeyDown('A', 10001);
    EXPECT_TRUE(flags.CtrlDown);
    EXPECT_EQ(fixture.desktop.shownModifierChecks,
              (std::array<bool, 4>{false, true, false, false}));
    EXPECT_EQ(fixture.KeyBuffer(), u"");
    EXPECT_THAT(Firings(), IsEmpty());
    EXPECT_FALSE(fixture.desktop.editFieldsEnabled);
    fixture.keyboard.KeyDown('A', 10000);  // the highest keystate recorded
    EXPECT_THAT(Firings(), ElementsAre("ShowTrigger(0)"));
    EXPECT_TRUE(fixture.desktop.editFieldsEnabled);

    fixture.keyboard.KeyDown(kShift);
    fixture.keyboard.KeyDown(kAlt);
    EXPECT_TRUE(flags.ShiftDown && flags.AltDown);
    for (const std::uint32_t key : {kShift, kCtrl, kAlt}) {
        fixture.keyboard.KeyUp(key);
    }
    EXPECT_FALSE(flags.ShiftDown || flags.CtrlDown || flags.AltDown);
    fixture.log.Clear();
    fixture.engine.Sender().SendKeystrokes(u"%back%");
    EXPECT_THAT(fixture.KeyEvents(), ElementsAre("keybd_event(8,0,0,0)", "keybd_event(8,0,2,0)"));

    fixture.windows.SetKeyState(kCapsLock, 1);
    fixture.keyboard.Press(kCapsLock);
    EXPECT_TRUE(flags.CapsLockOn);
    fixture.keyboard.Press(kCapsLock);
    EXPECT_FALSE(flags.CapsLockOn);
    EXPECT_THAT(fixture.log.CallsStartingWith({"GetKeyState"}), IsEmpty());
    fixture.windows.SetForeground(kMainWindow);
    fixture.keyboard.KeyUp(kShift);
    EXPECT_TRUE(flags.CapsLockOn);
    EXPECT_EQ(fixture.desktop.shownModifierChecks,
              (std::array<bool, 4>{false, false, false, true}));
}

// Typing into the program's own windows (the main window, its dialogs) is
// not recorded; in its list boxes the key codes stand for the characters,
// without the layout. Another program's window named like the program's,
// or a window that names no process, is never the program's own.
TEST_F(KeyCaptureTest, OnlyTheProgramsOwnWindowsAreLeftOut) {
    constexpr WindowHandle kInputBox = 400;
    constexpr WindowHandle kNoProcess = 300;
    fixture.windows.AddWindow(kInputBox, u"Enter application caption", test::kOwnThread);
    fixture.windows.AddWindow(kNoProcess, u"Tavro!", 0);
    fixture.windows.SetCaption(kEditor, u"Tavro notes.txt - Mousepad");
    // Not even while the main window's handle is unknown (0), and so names
    // no process either.
    fixture.windows.SetMainWindow(0);
    fixture.windows.SetForeground(kNoProcess);
    fixture.keyboard.Type(u"c");
    EXPECT_EQ(fixture.KeyBuffer(), u"c");
    fixture.windows.SetMainWindow(kMainWindow);
    struct Case {
        WindowHandle window;
        std::u16string control;
        std::u16string recorded;
    };
    for (const auto& [window, control, recorded] :
         {Case{kEditor, u"", u"ab"}, Case{kMainWindow, u"txtTrigger", u""},
          Case{kMainWindow, u"", u""}, Case{kInputBox, u"", u""}, Case{kNoProcess, u"", u"ab"}}) {
        SCOPED_TRACE(window);
        fixture.windows.SetForeground(window);
        fixture.windows.SetActiveControl(control);
        fixture.engine.Capture().keyBuffer.Clear();
        fixture.keyboard.Type(u"ab");
        EXPECT_EQ(fixture.KeyBuffer(), recorded);
    }

    fixture.windows.SetForeground(kMainWindow);
    fixture.windows.SetActiveControl(u"lstTriggers");
    fixture.engine.Capture().keyBuffer.Clear();
    fixture.log.Clear();
    fixture.keyboard.Press(97);  // keypad 1
    fixture.keyboard.Press('B');
    EXPECT_EQ(fixture.KeyBuffer(), u"ab");
    EXPECT_THAT(fixture.log.CallsStartingWith({"ToAscii"}), IsEmpty());
}

// A German keyboard: ";" is Shift with the comma key, "@" is AltGr with Q,
// and a key of its own types "€". A trigger of them fires, with no US
// Shift table in the way.
TEST_F(KeyCaptureTest, KeysOfAnotherLayoutAreRecordedWithTheirRealModifiers) {
    constexpr std::uint32_t kCommaKey = 0xBC;
    constexpr std::uint32_t kEuroKey = 0xE2;
    constexpr std::int16_t kAltGr = 0x138;
    fixture.keyboard.SetToAscii(kCommaKey, u',', u';', 0);
    fixture.keyboard.SetToAscii('Q', u'q', u'Q', u'@');
    fixture.keyboard.SetToAscii(kEuroKey, u'€');
    fixture.AddTrigger(u";q@€", u"Punctuation", u"Text", u"x");

    ShiftPress({kCommaKey});
    fixture.keyboard.Press('Q');
    fixture.keyboard.KeyDown(kAlt, kAltGr);
    fixture.keyboard.Press('Q');
    fixture.keyboard.KeyUp(kAlt, kAltGr);
    fixture.keyboard.Press(kEuroKey);

    EXPECT_EQ(fixture.engine.Capture().KeyDiary, u";q@€");
    EXPECT_THAT(Firings(), ElementsAre("ShowTrigger(0)"));
}

// A character outside the Basic Multilingual Plane is recorded whole: a
// trigger made of it fires, one Backspace takes it away, and the front of a
// full buffer never keeps half of one.
TEST_F(KeyCaptureTest, CharactersBeyondSixteenBitsAreRecordedWhole) {
    constexpr std::uint32_t kEmojiKey = 0xE2;
    fixture.keyboard.SetToAscii(kEmojiKey, U'😀');
    fixture.keyboard.Type(u"a");
    fixture.keyboard.Press(kEmojiKey);
    EXPECT_EQ(fixture.KeyBuffer(), u"a😀");
    fixture.keyboard.Press(kBack);
    EXPECT_EQ(fixture.KeyBuffer(), u"a");

    fixture.AddTrigger(u":😀", u"Smile", u"Text", u"x");
    fixture.keyboard.Type(u":");
    fixture.keyboard.Press(kEmojiKey);
    EXPECT_THAT(Firings(), ElementsAre("ShowTrigger(0)"));

    for (int i = 0; i < 30; ++i) {
        fixture.keyboard.Press(kEmojiKey);
    }
    EXPECT_EQ(fixture.KeyBuffer().size(), 50U);
    fixture.keyboard.Type(u"b");
    EXPECT_EQ(fixture.KeyBuffer().size(), 49U);
    EXPECT_EQ(fixture.KeyBuffer().front(), u'\xD83D');
}

// The tray menu fires into the last window in front that is not the
// program's own.
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

// Typing "tavrobuff" opens the key buffer page and still matches triggers;
// typed by the program itself it opens nothing, not even when the user
// presses Shift right after it.
TEST_F(KeyCaptureTest, TypingTavrobuffOpensTheKeyBufferPageUnlessTheProgramTypedIt) {
    fixture.AddTrigger(u"buff", u"Buff", u"Text", u"x");
    fixture.keyboard.Type(u"TavroBuf");
    fixture.log.Clear();
    fixture.keyboard.Type(u"f");
    EXPECT_THAT(fixture.log.CallsStartingWith({"mnuOpen", "SetTab", "ShowTrigger"}),
                ElementsAre("mnuOpen()", "SetTab(4)", "ShowTrigger(0)"));

    fixture.engine.Applications().SendKeyApps = {u"Mousepad"};
    fixture.keyboard.SetEchoSentKeys(true);
    fixture.AddTrigger(u"tb", u"Buffer", u"Text", u"see tavrobuff");
    fixture.log.Clear();
    fixture.keyboard.Type(u"tb");
    fixture.keyboard.DeliverSentKeys();
    ASSERT_TRUE(fixture.KeyBuffer().ends_with(u"tavrobuff"));
    fixture.keyboard.KeyDown(kShift);
    EXPECT_THAT(fixture.log.CallsStartingWith({"mnuOpen"}), IsEmpty());
}

}  // namespace
}  // namespace tavro
