#include <gtest/gtest.h>

// After gtest, whose names Xlib's macros (None, Bool) would spoil.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/record.h>
#include <X11/keysym.h>

#include <algorithm>
#include <memory>
#include <thread>
#include <vector>

#include "support/MousepadTest.h"
#include "support/X11Engine.h"
#include "text/Utf8.h"

namespace tavro::x11::test {
namespace {

// The key events that a client asks the X server for through XTEST, and
// whether each asks the server to wait before it handles the event.
class InjectionRecorder {
  public:
    struct Injection {
        bool down;
        KeyCode keycode;
        bool delayed;
    };

    InjectionRecorder(const std::string& displayName, Display* client)
        : control_(XOpenDisplay(displayName.c_str())), data_(XOpenDisplay(displayName.c_str())) {
        int opcode = 0;
        int firstEvent = 0;
        int firstError = 0;
        XQueryExtension(control_, "XTEST", &opcode, &firstEvent, &firstError);
        XRecordRange* range = XRecordAllocRange();
        range->ext_requests.ext_major = {static_cast<unsigned char>(opcode),
                                         static_cast<unsigned char>(opcode)};
        range->ext_requests.ext_minor = {kFakeInput, kFakeInput};
        // A resource of the client names it.
        XRecordClientSpec clients = XGContextFromGC(DefaultGC(client, DefaultScreen(client)));
        context_ = XRecordCreateContext(control_, 0, &clients, 1, &range, 1);
        XFree(range);
        XSync(control_, False);
        XRecordEnableContextAsync(data_, context_, &InjectionRecorder::OnRecorded,
                                  reinterpret_cast<XPointer>(this));
    }
    ~InjectionRecorder() {
        XRecordDisableContext(control_, context_);
        XRecordFreeContext(control_, context_);
        XSync(control_, False);
        XCloseDisplay(data_);
        XCloseDisplay(control_);
    }
    InjectionRecorder(const InjectionRecorder&) = delete;
    InjectionRecorder& operator=(const InjectionRecorder&) = delete;

    // What was recorded until the server handled this call.
    const std::vector<Injection>& Injections() {
        XSync(control_, False);
        for (int i = 0; i < 20; ++i) {
            XRecordProcessReplies(data_);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return injections_;
    }

  private:
    static constexpr unsigned short kFakeInput = 2;  // X_XTestFakeInput

    static void OnRecorded(XPointer self, XRecordInterceptData* data) {
        if (data->category == XRecordFromClient && data->data_len >= 3) {
            const unsigned char* request = data->data;
            const int type = request[4];
            const bool delayed = (request[8] | request[9] | request[10] | request[11]) != 0;
            const Injection injection{type == KeyPress, request[5], delayed};
            std::vector<Injection>& injections =
                reinterpret_cast<InjectionRecorder*>(self)->injections_;
            // The server runs a delayed request again, with no delay, once the
            // delay is over.
            const bool rerun = !injections.empty() && injections.back().delayed &&
                               injections.back().down == injection.down &&
                               injections.back().keycode == injection.keycode;
            if ((type == KeyPress || type == KeyRelease) && !rerun) {
                injections.push_back(injection);
            }
        }
        XRecordFreeData(data);
    }

    Display* control_;
    Display* data_;
    XRecordContext context_ = 0;
    std::vector<Injection> injections_;
};

// Whether a press follows the release of the same keycode at once: an
// application may take the two for that key's auto-repeat.
bool PressesAKeycodeAtOnceAfterItsRelease(const std::vector<InjectionRecorder::Injection>& keys) {
    for (std::size_t i = 1; i < keys.size(); ++i) {
        if (keys[i].down && !keys[i].delayed && !keys[i - 1].down &&
            keys[i].keycode == keys[i - 1].keycode) {
            return true;
        }
    }
    return false;
}

std::ptrdiff_t DelayedCount(const std::vector<InjectionRecorder::Injection>& keys) {
    return std::count_if(keys.begin(), keys.end(), [](const auto& key) { return key.delayed; });
}

class KeystrokeSendingTest : public MousepadTest {
  protected:
    void SetUp() override {
        MousepadTest::SetUp();
        fixture_ = std::make_unique<X11Engine>(desktop_->DisplayName());
    }

    void Send(const std::u16string& text) { fixture_->engine.Sender().SendKeystrokes(text); }

    // What mousepad holds once it has taken every key sent.
    std::string Received() {
        fixture_->ports.Sync();
        return desktop_->EditorText();
    }

    // Sends the text, then three Backspaces; the key events that went to the
    // server for them.
    std::vector<InjectionRecorder::Injection> SendAndEraseThree(const std::u16string& text) {
        InjectionRecorder recorder(desktop_->DisplayName(), fixture_->ports.connection.get());
        Send(text);
        for (int i = 0; i < 3; ++i) {
            Send(u"%back%");
        }
        fixture_->ports.Sync();
        return recorder.Injections();
    }

    std::unique_ptr<X11Engine> fixture_;
};

std::string WithLineFeeds(std::u16string_view text) {
    std::string utf8 = ToUtf8(text);
    for (std::size_t at = utf8.find("\r\n"); at != std::string::npos; at = utf8.find("\r\n")) {
        utf8.erase(at, 1);
    }
    return utf8;
}

// Text arrives exactly on a US keyboard with Caps Lock off and on, and on
// a French one, where digits need Shift and @ needs AltGr: those go through
// spare keycodes.
TEST_F(KeystrokeSendingTest, TextArrivesExactlyWhateverCapsLockAndLayout) {
    const std::u16string mixed =
        u"Hello World 0123456789 ~!@#$%^&*()_+{}:<>?|\" `-=[];',./\\\r\n"
        u"Second line: é É ß € ñ Ñ 中 😀 END";
    struct Case {
        const char* layout;
        bool capsLock;
        std::u16string text;
    };
    for (const auto& [layout, capsLock, text] :
         {Case{"us", false, mixed}, Case{"us", true, mixed},
          Case{"fr", false, u"Été 2024 : 1+1=2, écrire à a@b.fr ! (Zoé) <ok>"}}) {
        SCOPED_TRACE(std::string(layout) + (capsLock ? ", Caps Lock on" : ""));
        desktop_->ClearEditor();
        const bool us = std::string_view(layout) == "us";
        ASSERT_TRUE(us || desktop_->Run({"setxkbmap", layout}).exitCode == 0);
        // Keycodes lent under the keymap before are gone with it.
        fixture_ = std::make_unique<X11Engine>(desktop_->DisplayName());
        if (capsLock) {
            desktop_->Xdotool({"key", "Caps_Lock"});
            ASSERT_TRUE(fixture_->ports.RunUntil(
                [&] { return fixture_->engine.Capture().modifiers.CapsLockOn; }));
        }
        Send(text);
        const std::string received = Received();
        if (capsLock) {
            desktop_->Xdotool({"key", "Caps_Lock"});
        }
        if (!us) {
            desktop_->Run({"setxkbmap", "us"});
        }
        EXPECT_EQ(received, WithLineFeeds(text));
    }
}

// Backspaces in a row, as every firing sends them, and doubled letters go
// out on their own keycodes, with a key that types nothing between a release
// and the next press of the same key: applications that take a release and
// a press at the same time for auto-repeat (LibreOffice) get them all, those
// that know a key only by its keycode (Chromium) too, and nothing waits.
// The hook sees the keys they are, and nothing for the key between.
TEST_F(KeystrokeSendingTest, KeysPressedAgainRightAfterTheirReleaseHaveAKeyBetween) {
    const std::vector<InjectionRecorder::Injection> keys = SendAndEraseThree(u"book");
    EXPECT_EQ(Received(), "b");
    // b, o, spacer, o, k, Backspace, then spacer and Backspace twice
    ASSERT_EQ(keys.size(), 20U);
    EXPECT_FALSE(PressesAKeycodeAtOnceAfterItsRelease(keys));
    EXPECT_EQ(DelayedCount(keys), 0);
    Display* display = fixture_->ports.connection.get();
    const KeyCode spacer = keys[4].keycode;
    EXPECT_EQ(XkbKeycodeToKeysym(display, spacer, 0, 0), static_cast<KeySym>(NoSymbol));
    const KeyCode backspace = XKeysymToKeycode(display, XK_BackSpace);
    for (std::size_t i = 10; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i].keycode, (i % 4 == 0 || i % 4 == 1) ? spacer : backspace)
            << "key event " << i;
    }
    const auto recorded = [&] {
        return fixture_->engine.Capture().KeyDiary.find(u"book<back><back><back>") !=
               std::u16string::npos;
    };
    fixture_->ports.RunUntil(recorded);
    EXPECT_TRUE(recorded()) << ToUtf8(fixture_->engine.Capture().KeyDiary);
}

// The last key of a trigger typed with xdotool may still be down when the
// replacement types the same key.
TEST_F(KeystrokeSendingTest, AKeyStillHeldByAnotherClientIsTypedToo) {
    desktop_->Xdotool({"keydown", "t"});
    Send(u"at");
    fixture_->ports.Sync();
    desktop_->Xdotool({"keyup", "t"});
    EXPECT_EQ(Received(), "tat");
}

// Back erases, Enter starts a line, Right moves the cursor, Paste pastes; a
// token in another case is text. They work where no key of the layout in
// use types a Latin letter (Russian as the second layout, or alone): Ctrl+V
// goes out on the key that carries "v" in the Latin layout, or else on a
// spare keycode bound to it. The editor fetches a paste when it takes
// Ctrl+V, perhaps after later keys: it goes first, into the empty editor.
TEST_F(KeystrokeSendingTest, KeyTokensDoWhatTheirKeysDoOnEveryLayout) {
    for (const auto& [layouts, group] :
         {std::pair{"us", 0}, std::pair{"us,ru", 1}, std::pair{"ru", 0}}) {
        SCOPED_TRACE(layouts);
        desktop_->ClearEditor();
        desktop_->SetClipboard("pasted ✓");
        ASSERT_EQ(desktop_->Run({"setxkbmap", layouts}).exitCode, 0);
        // Keycodes lent under the keymap before are gone with it.
        fixture_ = std::make_unique<X11Engine>(desktop_->DisplayName());
        Display* display = fixture_->ports.connection.get();
        XkbLockGroup(display, XkbUseCoreKbd, group);
        // xdotool reads the editor with Ctrl+A and Ctrl+C: keys for them, as
        // it loses keys it binds for itself.
        int minKeycode = 0;
        int maxKeycode = 0;
        XDisplayKeycodes(display, &minKeycode, &maxKeycode);
        for (KeySym letter : {XK_a, XK_c}) {
            KeySym levels[] = {letter, letter - XK_a + XK_A};
            XChangeKeyboardMapping(display, maxKeycode--, 2, levels, 1);
        }
        fixture_->ports.Sync();

        Send(u"%paste%");
        std::string pasted;
        WaitUntil([&] { return (pasted = Received()) == "pasted ✓"; });
        desktop_->Xdotool({"key", "ctrl+End"});
        for (const std::u16string_view part :
             {u"%back%", u"%back%", u"%enter%", u"%ENTER%", u"x"}) {
            Send(std::u16string(part));
        }
        fixture_->ports.Sync();
        desktop_->Xdotool({"key", "Left"});
        Send(u"%right%");
        Send(u"y");
        const std::string received = Received();
        desktop_->Run({"setxkbmap", "us"});
        XkbLockGroup(display, XkbUseCoreKbd, 0);
        fixture_->ports.Sync();
        EXPECT_EQ(pasted, "pasted ✓");
        EXPECT_EQ(received, "pasted\n%ENTER%xy");
    }
}

// The X server has fewer spare keycodes than this text has characters
// without a key: some keycodes are bound twice. What a running program has
// lent stays lent when another starts (it gives back only what a program
// that ended left); the keymap is restored once typing is over.
TEST_F(KeystrokeSendingTest, MoreCharactersWithoutAKeyThanSpareKeycodesArriveExactly) {
    const std::vector<unsigned long> before = desktop_->Keymap();
    const std::u16string text =
        u"一二三四五六七八九十百千万亿天地人和日月山水火木金土春夏秋冬东南西北上下左右"
        u" 一天 十月 山水 東京 ÅÆØ Ünïcödé 😀";
    Send(text);
    fixture_->ports.Sync();
    const std::vector<unsigned long> lent = desktop_->Keymap();
    ASSERT_NE(lent, before);
    {
        const X11Ports other(desktop_->DisplayName());
        EXPECT_EQ(desktop_->Keymap(), lent);
    }
    EXPECT_EQ(Received(), ToUtf8(text));
    fixture_->ports.RunUntil([&] { return desktop_->Keymap() == before; },
                             X11KeyInjector::kKeepAfterTyping * 3);
    EXPECT_EQ(desktop_->Keymap(), before);
}

// The user clicks into another window while a long text is typed: the rest
// of the text goes nowhere, and the other window receives none of it.
TEST_F(KeystrokeSendingTest, ALongTextStopsWhenAnotherWindowComesToTheFront) {
    const WindowId other = desktop_->OpenMousepadWindow();
    desktop_->ClearEditor();
    desktop_->Xdotool({"type", "other"});
    for (const auto& [window, x] : {std::pair{other, "650"}, std::pair{editor_, "0"}}) {
        desktop_->Xdotool({"windowsize", std::to_string(window), "600", "400", "windowmove",
                           std::to_string(window), x, "0"});
    }
    desktop_->Xdotool({"windowactivate", "--sync", std::to_string(editor_)});
    ASSERT_TRUE(WaitUntil([&] {
        return desktop_->Run({"xdotool", "getwindowfocus"}).output ==
               std::to_string(editor_) + "\n";
    }));
    // Letters and many different characters without a key: it takes seconds.
    std::u16string text;
    for (char16_t i = 0; text.size() < 6000; ++i) {
        text += static_cast<char16_t>(u'\u4E00' + i % 400);
        text += u"ab";
    }
    ChildProcess click({"xdotool", "sleep", "0.5", "mousemove", "--window", std::to_string(other),
                        "300", "200", "click", "1"},
                       desktop_->ProgramEnvironment());
    Send(text);
    fixture_->ports.Sync();
    ASSERT_TRUE(click.Wait(std::chrono::seconds(10)).has_value());
    ASSERT_TRUE(WaitUntil([&] { return desktop_->ActiveWindow() == other; }));

    std::string inOther;
    WaitUntil([&] { return (inOther = desktop_->EditorText()) == "other"; });
    desktop_->Xdotool({"windowactivate", "--sync", std::to_string(editor_)});
    const std::string typed = desktop_->EditorText();
    EXPECT_EQ(inOther, "other");
    EXPECT_GT(typed.size(), 0U);
    EXPECT_LT(typed.size(), ToUtf8(text).size());
    EXPECT_TRUE(ToUtf8(text).starts_with(typed)) << "not the start of the text";
}

}  // namespace
}  // namespace tavro::x11::test
