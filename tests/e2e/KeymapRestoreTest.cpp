#include <gtest/gtest.h>

// After gtest, whose names Xlib's macros (None, Bool) would spoil.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "TavroProgram.h"
#include "support/MousepadTest.h"
#include "text/Utf8.h"

namespace tavro::e2e {
namespace {

using namespace std::chrono_literals;
using x11::test::WaitUntil;

constexpr char16_t kWithoutKeys[] = u"€ öüß é";

// The keysyms of one keycode.
std::vector<KeySym> KeysymsOf(Display* display, KeyCode keycode) {
    int perKeycode = 0;
    KeySym* keysyms = XGetKeyboardMapping(display, keycode, 1, &perKeycode);
    std::vector<KeySym> row(keysyms, keysyms + perKeycode);
    XFree(keysyms);
    return row;
}

// Binds the highest keycode the keymap leaves unbound to the keysym alone,
// as a user's own xmodmap line would; returns it.
KeyCode BindUnboundKeycode(Display* display, KeySym keysym) {
    int minKeycode = 0;
    int maxKeycode = 0;
    XDisplayKeycodes(display, &minKeycode, &maxKeycode);
    for (int keycode = maxKeycode; keycode >= minKeycode; --keycode) {
        const std::vector<KeySym> row = KeysymsOf(display, static_cast<KeyCode>(keycode));
        if (std::all_of(row.begin(), row.end(), [](KeySym k) { return k == NoSymbol; })) {
            KeySym levels[] = {keysym, keysym};
            XChangeKeyboardMapping(display, keycode, 2, levels, 1);
            XSync(display, False);
            return static_cast<KeyCode>(keycode);
        }
    }
    return 0;
}

// Tavro types characters without a key through keycodes it binds for the
// time being; however it ends, the keymap gets them back.
class KeymapRestoreTest : public x11::test::MousepadTest {
  protected:
    // Starts Tavro and fires a trigger typed into mousepad (a SendKey
    // application); returns once mousepad holds the replacement.
    static void StartAndDeliver(TavroProgram& tavro, const std::u16string& replacement) {
        ApplicationLists applications;
        applications.SendKeyApps = {u"Mousepad"};
        tavro.WriteDatabase({MakeTrigger(u"eu", u"Fired", u"Text", replacement)}, applications);
        tavro.Start(desktop_->ProgramEnvironment());
        ASSERT_TRUE(tavro.WaitUntilRunning());
        desktop_->Xdotool({"windowactivate", "--sync", std::to_string(editor_)});
        desktop_->ClearEditor();
        desktop_->Xdotool({"type", "--delay", "30", "eu"});
        ASSERT_TRUE(WaitUntil([&] { return desktop_->EditorText() == ToUtf8(replacement); }));
    }
};

// Each termination signal ends the program with zero and the keymap as
// before. Ended right after a firing whose text has a key for every
// character (no keycode lent), it does not wait for the editor.
TEST_F(KeymapRestoreTest, ATerminationSignalEndsTheProgramWithTheKeymapAsBefore) {
    const std::vector<unsigned long> before = desktop_->Keymap();
    for (const auto& [signal, replacement] : {std::pair<int, std::u16string>{SIGTERM, u"hello"},
                                              {SIGINT, kWithoutKeys},
                                              {SIGHUP, kWithoutKeys}}) {
        SCOPED_TRACE(strsignal(signal));
        TavroProgram tavro;
        StartAndDeliver(tavro, replacement);
        const auto signalled = std::chrono::steady_clock::now();
        kill(tavro.Pid(), signal);
        EXPECT_EQ(tavro.WaitForExit(10s).value_or(-2), 0);
        if (replacement == u"hello") {
            EXPECT_LT(std::chrono::steady_clock::now() - signalled, 1s);
        }
        EXPECT_EQ(desktop_->Keymap(), before);
        EXPECT_EQ(desktop_->EditorText(), ToUtf8(replacement));
    }
}

TEST_F(KeymapRestoreTest, AfterAKillTheNextStartGivesBackWhatWasLeftAndNothingElse) {
    const std::vector<unsigned long> before = desktop_->Keymap();
    {
        TavroProgram killed;
        StartAndDeliver(killed, kWithoutKeys);
        kill(killed.Pid(), SIGKILL);
        killed.WaitForExit(10s);
    }
    ASSERT_NE(desktop_->Keymap(), before);
    // Meanwhile the user binds a keycode of his own, to a keysym alone as
    // Tavro does.
    Display* display = XOpenDisplay(desktop_->DisplayName().c_str());
    const KeyCode users = BindUnboundKeycode(display, XK_EuroSign);
    ASSERT_NE(users, 0);

    TavroProgram next;
    next.WriteDatabase({MakeTrigger(u"eu", u"Accents", u"Text", u"€")}, {});
    next.Start(desktop_->ProgramEnvironment());
    ASSERT_TRUE(next.WaitUntilRunning());
    const std::vector<KeySym> usersRow = KeysymsOf(display, users);
    KeySym nothing[] = {NoSymbol, NoSymbol};
    XChangeKeyboardMapping(display, users, 2, nothing, 1);
    XCloseDisplay(display);

    EXPECT_NE(std::find(usersRow.begin(), usersRow.end(), XK_EuroSign), usersRow.end());
    EXPECT_EQ(desktop_->Keymap(), before);
}

}  // namespace
}  // namespace tavro::e2e
