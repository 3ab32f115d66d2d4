#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "EndToEndFixture.h"

namespace tavro::e2e {
namespace {

// Replacements with the same key several times in a row.
constexpr char16_t kDoubled[] = u"bookkeeper, committee, Mississippi";
constexpr char kDoubledUtf8[] = "bookkeeper, committee, Mississippi";

// Writer's copy of its text ends with a line break.
std::string WithoutLineEnd(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

using RealTypingTest = EndToEndTest;

// Automation tools type at 5 to 12 ms per key: the trigger's last key is
// still down when the replacement, which types it too, is sent, and the
// triggers follow each other within a few milliseconds.
TEST_F(RealTypingTest, TriggersTypedAtMachineSpeedDeliverEveryCharacter) {
    ApplicationLists applications;
    applications.SendKeyApps = {u"Untitled"};  // mousepad's and featherpad's new documents
    StartTavro({MakeTrigger(u";sig", u"Signature", u"Text", u"XsigX")}, applications);
    const auto typeTriggers = [](const char* editorName) {
        for (const int delay : {5, 8, 12}) {
            desktop->Xdotool({"key", "ctrl+a", "Delete"});
            Type("a;sig b;sig c;sig", delay);
            EXPECT_EQ(EditorTextOnceItIs("aXsigX bXsigX cXsigX"), "aXsigX bXsigX cXsigX")
                << editorName << ", " << delay << " ms per key";
        }
    };
    typeTriggers("mousepad");

    WindowId featherpad = 0;
    const auto application =
        StartApplication({"featherpad"}, {"--class", "featherpad"}, featherpad);
    ASSERT_NE(featherpad, 0U);
    typeTriggers("featherpad");
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
    EXPECT_EQ(WithoutLineEnd(EditorTextOnceItIs(expected + "\n")), expected) << "by clipboard";

    tavro.Stop();
    std::filesystem::remove(tavro.DatabasePath());
    desktop->Xdotool({"key", "ctrl+a", "Delete"});
    ApplicationLists applications;
    applications.SendKeyApps = {u"LibreOffice Writer"};
    StartTavro(triggers, applications);
    Type("One qqbk two zz;sig three qqbk four zz;sig");
    EXPECT_EQ(WithoutLineEnd(EditorTextOnceItIs(expected + "\n")), expected) << "by keystrokes";
}

// A clipboard manager copies every new clipboard content at once. The Right
// arrow after a picture's text waits for the paste of the window in front,
// not for the manager's copy.
TEST_F(RealTypingTest, APasteIsAwaitedFromTheWindowInFrontNotFromAClipboardManager) {
    ApplicationLists applications;
    applications.TextOnlyApps = {u"Mousepad"};
    TriggerRecord image = MakeTrigger(u"img", u"Logo", u"Image", u"LOGO");
    image.ReplaceImageFile = (tavro.Folder() / "logo.png").u16string();
    std::ofstream(tavro.Folder() / "logo.png", std::ios::binary) << kRedSquarePng;
    StartTavro({image}, applications);
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

}  // namespace
}  // namespace tavro::e2e
