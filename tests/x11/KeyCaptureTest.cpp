#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/MousepadTest.h"
#include "support/X11Engine.h"
#include "text/Utf8.h"

namespace tavro::x11::test {
namespace {

using ::testing::ElementsAreArray;

// One reported key event, as the Windows hook would give it.
struct Reported {
    bool down;
    std::uint32_t keyCode;
    std::uint16_t keystate;

    bool operator==(const Reported&) const = default;
};

void PrintTo(const Reported& event, std::ostream* out) {
    *out << (event.down ? "down " : "up ") << event.keyCode << " 0x" << std::hex << event.keystate
         << std::dec;
}

Reported Down(std::uint32_t keyCode, std::uint16_t keystate) {
    return {true, keyCode, keystate};
}

// The release of a key pressed with this keystate.
Reported Up(std::uint32_t keyCode, std::uint16_t keystate) {
    return {false, keyCode, static_cast<std::uint16_t>(keystate | 0xC000)};
}

class RecordingSink final : public KeyEventSink {
  public:
    void KeyDownHook(const KeyEvent& event) override {
        events.push_back({true, event.keyCode, static_cast<std::uint16_t>(event.keystate)});
    }
    void KeyUpHook(const KeyEvent& event) override {
        events.push_back({false, event.keyCode, static_cast<std::uint16_t>(event.keystate)});
    }
    std::vector<Reported> events;
};

class KeyCaptureTest : public MousepadTest {
  protected:
    void SetUp() override {
        MousepadTest::SetUp();
        ports_ = std::make_unique<X11Ports>(desktop_->DisplayName());
        ports_->hook.Start(sink_);
    }

    // Presses the keys with xdotool and returns what the hook reported.
    std::vector<Reported> Capture(const std::vector<std::string>& xdotoolArguments,
                                  std::size_t expectedEvents) {
        sink_.events.clear();
        desktop_->Xdotool(xdotoolArguments);
        ports_->RunUntil([&] { return sink_.events.size() >= expectedEvents; });
        ports_->RunFor(std::chrono::milliseconds(50));
        return sink_.events;
    }

    RecordingSink sink_;
    std::unique_ptr<X11Ports> ports_;
};

struct KeyCase {
    const char* keysym;
    std::uint32_t virtualKey;
    std::uint16_t keystate;
};

// The virtual keys and keystates of a US keyboard under Windows: letters,
// digits and punctuation by keysym, named keys, the keypad, and the
// extended keys. The right Shift and Ctrl go by keycode: xdotool adds the
// left one to their keysyms.
constexpr KeyCase kUsKeys[] = {
    {"a", 0x41, 0x1E},         {"0", 0x30, 0x0B},          {"minus", 0xBD, 0x0C},
    {"semicolon", 0xBA, 0x27}, {"apostrophe", 0xDE, 0x28}, {"grave", 0xC0, 0x29},
    {"backslash", 0xDC, 0x2B}, {"slash", 0xBF, 0x35},      {"space", 0x20, 0x39},
    {"Return", 0x0D, 0x1C},    {"KP_Enter", 0x0D, 0x11C},  {"BackSpace", 0x08, 0x0E},
    {"Tab", 0x09, 0x0F},       {"F12", 0x7B, 0x58},        {"Home", 0x24, 0x147},
    {"Next", 0x22, 0x151},     {"Left", 0x25, 0x14B},      {"Delete", 0x2E, 0x153},
    {"Shift_L", 0x10, 0x2A},   {"62", 0x10, 0x36},         {"105", 0x11, 0x11D},
    {"KP_Add", 0x6B, 0x4E},    {"KP_Divide", 0x6F, 0x135},
};

// On a French AZERTY keyboard the digit row types symbols, but its virtual
// keys stay the digits; letters follow the keysym, punctuation falls back
// to its place.
TEST_F(KeyCaptureTest, ReportsTheVirtualKeyAndKeystateOfEveryKeyInOrder) {
    std::vector<std::string> arguments{"key"};
    std::vector<Reported> expected;
    for (const KeyCase& key : kUsKeys) {
        arguments.push_back(key.keysym);
        expected.push_back(Down(key.virtualKey, key.keystate));
        expected.push_back(Up(key.virtualKey, key.keystate));
    }
    EXPECT_THAT(Capture(arguments, expected.size()), ElementsAreArray(expected));

    ASSERT_EQ(desktop_->Run({"setxkbmap", "fr"}).exitCode, 0);
    ports_->Sync();
    // Keycodes: digit 1 key, US q place (a), US a place (q), US m place (,).
    const std::vector<Reported> events = Capture({"key", "10", "24", "38", "58"}, 8);
    desktop_->Run({"setxkbmap", "us"});
    EXPECT_THAT(events, ElementsAreArray({Down(0x31, 0x02), Up(0x31, 0x02), Down(0x41, 0x10),
                                          Up(0x41, 0x10), Down(0x51, 0x1E), Up(0x51, 0x1E),
                                          Down(0xBC, 0x32), Up(0xBC, 0x32)}));
}

// A key held down repeats with the previous-state bit; a modifier is a key
// of its own (xdotool releases the keys of a combination in the order it
// pressed them); keys pressed while Alt is held carry the Alt context; the
// keypad follows Num Lock.
TEST_F(KeyCaptureTest, ModifiersNumLockAndRepeatsGiveTheirKeystates) {
    sink_.events.clear();
    desktop_->Xdotool({"keydown", "a", "sleep", "1", "keyup", "a"});
    ports_->RunUntil([&] { return !sink_.events.empty() && !sink_.events.back().down; });
    ASSERT_GE(sink_.events.size(), 3U) << "the key did not repeat";
    EXPECT_EQ(sink_.events.front(), Down(0x41, 0x1E));
    for (std::size_t i = 1; i + 1 < sink_.events.size(); ++i) {
        EXPECT_EQ(sink_.events[i], Down(0x41, 0x401E));
    }
    EXPECT_EQ(sink_.events.back(), Up(0x41, 0x1E));

    EXPECT_THAT(
        Capture({"key", "shift+b"}, 4),
        ElementsAreArray({Down(0x10, 0x2A), Down(0x42, 0x30), Up(0x10, 0x2A), Up(0x42, 0x30)}));
    EXPECT_THAT(Capture({"key", "alt+x", "x"}, 6),
                ElementsAreArray({Down(0x12, 0x2038), Down(0x58, 0x202D), Up(0x12, 0x0038),
                                  Up(0x58, 0x002D), Down(0x58, 0x002D), Up(0x58, 0x002D)}));
    // Keycode 87 is the keypad's 1/End key.
    EXPECT_THAT(
        Capture({"key", "87", "Num_Lock", "87", "Num_Lock", "KP_Enter"}, 10),
        ElementsAreArray({Down(0x23, 0x4F), Up(0x23, 0x4F), Down(0x90, 0x145), Up(0x90, 0x145),
                          Down(0x61, 0x4F), Up(0x61, 0x4F), Down(0x90, 0x145), Up(0x90, 0x145),
                          Down(0x0D, 0x11C), Up(0x0D, 0x11C)}));
}

// Keys typed before the hook has a sink (the program still getting ready)
// reach it once it has one, in order, when it records from the start; a hook
// that records from Start never sees them.
TEST_F(KeyCaptureTest, AHookRecordingAtOnceKeepsTheKeysTypedBeforeItsStart) {
    X11KeyboardHook early(desktop_->DisplayName(), X11KeyboardHook::Recording::AtOnce);
    X11KeyboardHook late(desktop_->DisplayName());
    desktop_->Xdotool({"key", "a", "b"});
    RecordingSink earlySink;
    RecordingSink lateSink;
    early.Start(earlySink);
    late.Start(lateSink);
    ports_->RunUntil([&] {
        for (X11KeyboardHook* hook : {&early, &late}) {
            hook->RequestRecordedEvents();
            hook->ProcessPendingEvents();
        }
        return earlySink.events.size() >= 4;
    });
    EXPECT_THAT(earlySink.events, ElementsAreArray({Down(0x41, 0x1E), Up(0x41, 0x1E),
                                                    Down(0x42, 0x30), Up(0x42, 0x30)}));
    EXPECT_THAT(lateSink.events, ::testing::IsEmpty());
}

std::size_t Firings(const X11Engine& fixture) {
    return fixture.fakes.log.CallsStartingWith({"ShowTrigger"}).size();
}

// Triggers of punctuation and letters, typed on a US, a German and a French
// keyboard: the symbols sit on other keys, behind Shift or AltGr, and every
// trigger fires all the same.
TEST_F(KeyCaptureTest, PunctuationTriggersFireOnEveryLayout) {
    const std::pair<std::u16string, std::u16string> triggers[] = {{u";sig", u"one"},
                                                                  {u"x:y", u"two"},
                                                                  {u"/q?", u"three"},
                                                                  {u"\"w'", u"four"},
                                                                  {u"@!z", u"five"}};
    for (const char* layout : {"us", "de", "fr"}) {
        SCOPED_TRACE(layout);
        desktop_->ClearEditor();
        ASSERT_EQ(desktop_->Run({"setxkbmap", layout}).exitCode, 0);
        X11Engine fixture(desktop_->DisplayName());
        fixture.engine.Applications().SendKeyApps = {u"Mousepad"};
        std::string typed;
        for (const auto& [trigger, replacement] : triggers) {
            fixture.AddTrigger(trigger, replacement);
            typed += ToUtf8(trigger) + " ";
        }
        // Typed while the engine runs, as a person types.
        ChildProcess typist({"xdotool", "type", "--delay", "60", typed},
                            desktop_->ProgramEnvironment());
        fixture.ports.RunUntil(
            [&] { return typist.Wait(std::chrono::milliseconds(0)).has_value(); });
        fixture.ports.RunFor(std::chrono::milliseconds(300));
        EXPECT_EQ(Firings(fixture), 5U);
        EXPECT_EQ(desktop_->EditorText(), "one two three four five ");
    }
    desktop_->Run({"setxkbmap", "us"});
}

// A key of the layout that types an emoji is recorded whole, and a trigger
// made of it fires. The keys the firing sends come back through the hook
// with the virtual keys they were sent with, characters typed through spare
// keycodes included: the engine knows them as its own, and the
// replacement, which ends with its own trigger, does not fire again.
TEST_F(KeyCaptureTest, AnEmojiTriggerFiresOnceThroughTheRealKeyboard) {
    constexpr KeyCode kGraveKey = 49;
    {
        XConnection connection(desktop_->DisplayName());
        // Unicode keysyms are the code point plus 0x1000000.
        KeySym emoji[] = {0x1000000 + 0x1F600, 0x1000000 + 0x1F600};
        XChangeKeyboardMapping(connection.get(), kGraveKey, 2, emoji, 1);
        XSync(connection.get(), False);
    }
    X11Engine fixture(desktop_->DisplayName());
    fixture.engine.Applications().SendKeyApps = {u"Mousepad"};
    fixture.AddTrigger(u"q😀", u"Grüße 😀 q😀");
    desktop_->Xdotool({"key", "q", std::to_string(kGraveKey)});
    fixture.ports.RunUntil([&] { return Firings(fixture) > 0; });
    fixture.ports.RunFor(std::chrono::milliseconds(500));
    const std::u16string diary = fixture.engine.Capture().KeyDiary;
    const std::string text = desktop_->EditorText();
    desktop_->Run({"setxkbmap", "us"});
    EXPECT_EQ(Firings(fixture), 1U);
    EXPECT_TRUE(diary.starts_with(u"q😀<back><back>")) << ToUtf8(diary);
    EXPECT_EQ(text, "Grüße 😀 q😀");
}

}  // namespace
}  // namespace tavro::x11::test
