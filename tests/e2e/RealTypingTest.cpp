#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>

#include "EndToEndFixture.h"

namespace tavro::e2e {
namespace {

// Replacements with the same key several times in a row.
constexpr char16_t kDoubled[] = u"bookkeeper, committee, Mississippi";
constexpr char kDoubledUtf8[] = "bookkeeper, committee, Mississippi";

class RealTypingTest : public EndToEndTest {
  protected:
    // featherpad, a Qt editor, in front and empty; started the first time.
    static void ShowFeatherpad() {
        if (featherpad == 0) {
            featherpad = desktop->OpenFeatherpadWindow();
        }
        desktop->Xdotool({"windowactivate", "--sync", std::to_string(featherpad)});
        desktop->ClearEditor();
    }
    static inline WindowId featherpad = 0;
};

// Automation tools type at 5 to 12 ms per key: the trigger's last key is
// still down when the replacement, which types it too, is sent, and the
// triggers follow each other within a few milliseconds.
TEST_F(RealTypingTest, TriggersTypedAtMachineSpeedDeliverEveryCharacter) {
    ApplicationLists applications;
    applications.SendKeyApps = {u"Untitled"};  // mousepad's and featherpad's new documents
    StartTavro({MakeTrigger(u";sig", u"Signature", u"Text", u"XsigX")}, applications);
    for (const char* editorName : {"mousepad", "featherpad"}) {
        if (editorName == std::string("featherpad")) {
            ShowFeatherpad();
        }
        for (const int delay : {5, 8, 12}) {
            desktop->Xdotool({"key", "ctrl+a", "Delete"});
            Type("a;sig b;sig c;sig", delay);
            EXPECT_EQ(EditorTextOnceItIs("aXsigX bXsigX cXsigX"), "aXsigX bXsigX cXsigX")
                << editorName << ", " << delay << " ms per key";
        }
    }
}

// Shift is still held when the last key of a trigger fires it, as a
// person's finger still is: Tavro lets go of it first, so that the
// replacement typed into mousepad (a SendKey application) starts with "[",
// not "{", and the paste into featherpad is Ctrl+V (featherpad takes
// Ctrl+Shift+V for inserting the date).
TEST_F(RealTypingTest, ATriggerTypedWithShiftHeldIsTypedUnshiftedOrPasted) {
    ApplicationLists applications;
    applications.SendKeyApps = {u"Mousepad"};
    StartTavro({MakeTrigger(u"hi!", u"Greeting", u"Text", u"[hello]"),
                MakeTrigger(u"BTW", u"By the way", u"Text", u"by the way")},
               applications);
    const auto typeWithShiftHeld = [](std::vector<std::string> keys) {
        keys.insert(keys.begin(), {"keydown", "shift", "key", "--delay", "40"});
        keys.insert(keys.end(), {"sleep", "1", "keyup", "shift"});
        desktop->Xdotool(keys);
    };
    typeWithShiftHeld({"h", "i", "1"});
    EXPECT_EQ(EditorTextOnceItIs("[hello]"), "[hello]");
    ShowFeatherpad();
    typeWithShiftHeld({"b", "t", "w"});
    EXPECT_EQ(EditorTextOnceItIs("by the way"), "by the way");
}

// A replacement that types its own trigger. It has more characters without a
// key than the keymap has spare keycodes (19 on Xvfb): the delivery pauses
// to bind the rest, and the user's keys land among the program's own, in the
// editor and in what comes back.
constexpr char16_t kSelfTyping[] = u"sig.@ àáâãäåæçèéêëìíîïñòóôõöøùúûüý sig";
constexpr char kSelfTypingUtf8[] = "sig.@ àáâãäåæçèéêëìíîïñòóôõöøùúûüý sig";

// Another client types the user's keys right after the trigger's last key,
// while the replacement is typed and comes back: each trigger the user typed
// fires once, and no more (each firing is counted by its one "@").
TEST_F(RealTypingTest, AReplacementTypingItsTriggerAmongUserKeysFiresOnce) {
    ApplicationLists applications;
    applications.SendKeyApps = {u"Mousepad"};
    const std::vector<unsigned long> keymap = desktop->Keymap();
    StartTavro({MakeTrigger(u"sig", u"Signature", u"Text", kSelfTyping)}, applications);
    // The editor is read once the delivery is over: the program lends
    // keycodes for it and gives them back two seconds after it typed last
    // (the keys that copy the text must not land in its pauses).
    const auto awaitDelivery = [&] {
        WaitUntil([&] { return desktop->Keymap() != keymap; }, std::chrono::seconds(3));
        EXPECT_TRUE(WaitUntil([&] { return desktop->Keymap() == keymap; }));
    };
    const auto firings = [] {
        const std::string text = EditorText();
        return std::count(text.begin(), text.end(), '@');
    };
    for (int round = 1; round <= 3; ++round) {
        Type("si");
        // No s, i, g or @ after the "g": no trigger of the user's own.
        ChildProcess typist({"xdotool", "type", "--delay", "5", "g hello world, hello world "},
                            desktop->ProgramEnvironment());
        EXPECT_TRUE(typist.Wait(std::chrono::seconds(30)).has_value());
        awaitDelivery();
        ASSERT_EQ(firings(), round) << "round " << round;
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));  // nothing fires on its own
    EXPECT_EQ(firings(), 3);
    EXPECT_EQ(desktop->Run({"xdotool", "search", "--name", "Trigger Stopped"}).output, "");

    // Afterwards, the trigger typed alone fires as ever.
    desktop->ClearEditor();
    Type("sig");
    awaitDelivery();
    EXPECT_EQ(EditorText(), kSelfTypingUtf8);
}

// LibreOffice takes a release and a press of one key at the same server time
// for auto-repeat: every Backspace of a trigger, and every doubled letter,
// must still arrive.
TEST_F(RealTypingTest, WriterTakesEveryKeyByKeystrokesAndByClipboard) {
    WindowId window = 0;
    const auto writer = StartWriter(window);
    ASSERT_NE(window, 0U);
    const std::vector<TriggerRecord> triggers = {
        MakeTrigger(u"qqbk", u"Doubled", u"Text", kDoubled),
        MakeTrigger(u"zz;sig", u"Long", u"Text", u"Ann")};
    const std::string expected =
        std::string("One ") + kDoubledUtf8 + " two Ann three " + kDoubledUtf8 + " four Ann";

    StartTavro(triggers);
    Type("One qqbk two zz;sig three qqbk four zz;sig");
    EXPECT_EQ(EditorTextOnceItIs(expected), expected) << "by clipboard";

    tavro.Stop();
    std::filesystem::remove(tavro.DatabasePath());
    desktop->Xdotool({"key", "ctrl+a", "Delete"});
    ApplicationLists applications;
    applications.SendKeyApps = {u"LibreOffice Writer"};
    StartTavro(triggers, applications);
    Type("One qqbk two zz;sig three qqbk four zz;sig");
    EXPECT_EQ(EditorTextOnceItIs(expected), expected) << "by keystrokes";
}

// A clipboard manager copies every new clipboard content at once. The Right
// arrow after a picture's text waits for the paste of the window in front,
// not for the manager's copy.
TEST_F(RealTypingTest, APasteIsAwaitedFromTheWindowInFrontNotFromAClipboardManager) {
    ApplicationLists applications;
    applications.TextOnlyApps = {u"Mousepad"};
    StartTavro({PictureTrigger(u"img", u"LOGO")}, applications);
    ChildProcess keeper({CLIPBOARD_KEEPER}, desktop->ProgramEnvironment(), std::nullopt,
                        (tavro.Folder() / "keeper.log").string());
    std::this_thread::sleep_for(std::chrono::seconds(1));  // the keeper watches the clipboard

    for (int i = 0; i < 5; ++i) {
        desktop->ClearEditor();
        Type("<>");
        desktop->Xdotool({"key", "Left"});
        Type("img");
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // after the delivery
        desktop->Xdotool({"key", "z"});
        EXPECT_EQ(EditorTextOnceItIs("<LOGO>z"), "<LOGO>z") << "firing " << i + 1;
    }
}

// The editor in front fetches each paste only 0.4 s after its Ctrl+V (the
// program waits a second at most). A trigger typed meanwhile waits for that
// paste, and so does one typed while a picture's text waits to be fetched
// before the Right arrow that ends its delivery: no trigger fires in the
// middle of another's.
TEST_F(RealTypingTest, TriggersTypedBeforeTheEditorFetchesAPasteFollowInOrder) {
    ApplicationLists applications;
    applications.TextOnlyApps = {u"Slow Paste"};
    StartTavro({MakeTrigger(u"aq", u"One", u"Text", u"[one]"), PictureTrigger(u"iq", u"[pic]"),
                MakeTrigger(u"bq", u"Two", u"Text", u"[two]")},
               applications);
    WindowId window = 0;
    const auto editor = StartApplication({SLOW_PASTE_EDITOR}, {"--name", "Slow Paste"}, window);
    ASSERT_NE(window, 0U);

    // The keys the editor handled, in order.
    const auto keys = [&] {
        std::ifstream log(tavro.Folder() / LogName(SLOW_PASTE_EDITOR));
        std::vector<std::string> lines;
        for (std::string line; std::getline(log, line);) {
            lines.push_back(line);
        }
        return lines;
    };
    // Every key of the deliveries is sent once the editor handled that many
    // Ctrl+V: the keys that copy its text come after them.
    const auto textAfterPastes = [&](std::ptrdiff_t pastes) {
        EXPECT_TRUE(WaitUntil([&] {
            const std::vector<std::string> handled = keys();
            return std::count(handled.begin(), handled.end(), "Ctrl+V") >= pastes;
        }));
        return EditorText();
    };

    Type("aq bq");
    EXPECT_EQ(textAfterPastes(2), "[one] [two]");
    Type(" iq bq");
    EXPECT_EQ(textAfterPastes(4), "[one] [two] [pic] [two]");

    // After the picture's paste, its Right arrow came before the Backspaces
    // of the trigger typed while it waited.
    const std::vector<std::string> handled = keys();
    std::string all;
    std::vector<std::size_t> pastes;
    for (std::size_t i = 0; i < handled.size(); ++i) {
        all += handled[i] + " ";
        if (handled[i] == "Ctrl+V") {
            pastes.push_back(i);
        }
    }
    ASSERT_GE(pastes.size(), 4U) << all;
    const auto next = [&](const std::string& key) {
        return std::find(handled.begin() + pastes[2], handled.end(), key) - handled.begin();
    };
    EXPECT_LT(next("Right"), next("Backspace")) << all;
}

}  // namespace
}  // namespace tavro::e2e
