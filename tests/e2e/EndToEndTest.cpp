#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <thread>

#include "EndToEndFixture.h"
#include "text/Utf8.h"

namespace tavro::e2e {
namespace {

using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using ::testing::Not;

TEST_F(EndToEndTest, AnApplicationOnNoListGetsTheReplacementPasted) {
    StartTavro({MakeTrigger(u"sig", u"Signature", u"Text", u"Best regards")});
    Type("hello xsig");
    ASSERT_TRUE(WaitUntil([] { return Clipboard() == "Best regards"; }));
    EXPECT_EQ(EditorTextOnceItIs("hello xBest regards"), "hello xBest regards");
}

TEST_F(EndToEndTest, ASendKeyApplicationGetsTheReplacementTypedOnce) {
    ApplicationLists applications;
    applications.SendKeyApps = {u"MOUSEPAD"};
    StartTavro({MakeTrigger(u"sig", u"Signature", u"Text", u"my sig"),
                MakeTrigger(u"dt", u"Stamp", u"Text", u"[%date%|%time%|%date%]")},
               applications);
    Type("hello sig");
    EXPECT_EQ(EditorTextOnceItIs("hello my sig"), "hello my sig");
    std::this_thread::sleep_for(std::chrono::seconds(1));  // nothing loops
    desktop->Xdotool({"key", "shift"});                    // not even one key later
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(EditorText(), "hello my sig");

    desktop->ClearEditor();
    Type("dt");
    std::string stamped;
    WaitUntil([&] { return (stamped = EditorText()).ends_with("|%date%]"); });
    EXPECT_THAT(stamped,
                MatchesRegex(
                    R"(\[[A-Z][a-z][a-z] [0-9]+ 20[0-9][0-9]\|[0-9]+:[0-9][0-9] [ap]m\|%date%\])"));
}

// Enter and Tab put a character into the text, which the Backspaces take
// back with the rest of the trigger.
TEST_F(EndToEndTest, ATriggerEndingInEnterOrTabLeavesNothingOfItself) {
    StartTavro({MakeTrigger(u"ok<enter>", u"Okay", u"Text", u"Okay."),
                MakeTrigger(u"nm<TAB>", u"Name", u"Text", u"Ann")});
    Type("x ok");
    desktop->Xdotool({"key", "Return"});
    EXPECT_EQ(EditorTextOnceItIs("x Okay."), "x Okay.");
    desktop->ClearEditor();
    Type("y nm");
    desktop->Xdotool({"key", "Tab"});
    EXPECT_EQ(EditorTextOnceItIs("y Ann"), "y Ann");
}

// Shift is still held when the last key of "BTW" fires the trigger: Tavro
// lets go of it first, so the paste is Ctrl+V (featherpad takes
// Ctrl+Shift+V for inserting the date, mousepad for nothing).
TEST_F(EndToEndTest, ATriggerTypedWithShiftHeldIsPasted) {
    StartTavro({MakeTrigger(u"BTW", u"By the way", u"Text", u"by the way")});
    InBothEditors([] {
        TypeWithShiftHeld({"b", "t", "w"});
        EXPECT_EQ(EditorTextOnceItIs("by the way"), "by the way");
    });
}

// Typed into a SendKey application with Shift still held, the replacement's
// first key is not shifted: "[", not "{".
TEST_F(EndToEndTest, ATriggerTypedWithShiftHeldIsTypedUnshifted) {
    ApplicationLists applications;
    applications.SendKeyApps = {u"Untitled"};  // both editors' new documents
    StartTavro({MakeTrigger(u"hi!", u"Greeting", u"Text", u"[hello]")}, applications);
    InBothEditors([] {
        TypeWithShiftHeld({"h", "i", "1"});
        EXPECT_EQ(EditorTextOnceItIs("[hello]"), "[hello]");
    });
}

// The layout in force until the object goes, "us" again afterwards.
class KeyboardLayout {
  public:
    KeyboardLayout(const TestDesktop& desktop, const std::string& layout) : desktop_(desktop) {
        EXPECT_EQ(desktop_.Run({"setxkbmap", layout}).exitCode, 0) << layout;
    }
    ~KeyboardLayout() { desktop_.Run({"setxkbmap", "us"}); }
    KeyboardLayout(const KeyboardLayout&) = delete;
    KeyboardLayout& operator=(const KeyboardLayout&) = delete;

  private:
    const TestDesktop& desktop_;
};

// On German and French keyboards these punctuation marks sit on other keys
// than on a US one, most of them with Shift: typed there, each fires.
TEST_F(EndToEndTest, PunctuationTriggersFireOnGermanAndFrenchLayouts) {
    StartTavro({MakeTrigger(u";sig", u"Semicolon", u"Text", u"one"),
                MakeTrigger(u":x", u"Colon", u"Text", u"two"),
                MakeTrigger(u"\"q", u"Quote", u"Text", u"three"),
                MakeTrigger(u"/d", u"Slash", u"Text", u"four"),
                MakeTrigger(u"?h", u"Question", u"Text", u"five")});
    for (const char* layout : {"de", "fr"}) {
        SCOPED_TRACE(layout);
        const KeyboardLayout keyboard(*desktop, layout);
        InBothEditors([] {
            Type(";sig :x \"q /d ?h ");
            EXPECT_EQ(EditorTextOnceItIs("one two three four five "), "one two three four five ");
        });
    }
}

TEST_F(EndToEndTest, ATextOnlyApplicationGetsTheAlternateTexts) {
    ApplicationLists applications;
    applications.TextOnlyApps = {u"Mousepad"};
    std::vector<TriggerRecord> triggers = {MakeTrigger(u"rtf", u"Letter", u"RTF", u"plain letter"),
                                           MakeTrigger(u"img", u"Logo", u"Image", u"LOGO")};
    triggers[0].ReplaceRTFFile = (tavro.Folder() / "letter.rtf").u16string();
    triggers[1].ReplaceImageFile = (tavro.Folder() / "logo.png").u16string();
    std::ofstream(tavro.Folder() / "letter.rtf") << R"({\rtf1\ansi {\b bold} letter\par})";
    std::ofstream(tavro.Folder() / "logo.png", std::ios::binary) << kRedSquarePng;
    StartTavro(triggers, applications);

    Type("A: rtf");
    EXPECT_EQ(EditorTextOnceItIs("A: plain letter"), "A: plain letter");

    // The Right arrow after the image's text moves past the character after it.
    desktop->ClearEditor();
    Type("<>");
    desktop->Xdotool({"key", "Left"});
    Type("img");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // typed after the delivery
    desktop->Xdotool({"key", "z"});
    EXPECT_EQ(EditorTextOnceItIs("<LOGO>z"), "<LOGO>z");
}

TEST_F(EndToEndTest, ALaunchTriggerStartsItsCommandAndLeavesTheTriggerTyped) {
    // An opener of our own records what it was asked to open.
    const auto bin = tavro.Folder() / "bin";
    std::filesystem::create_directories(bin);
    const auto opened = tavro.Folder() / "opened.txt";
    std::ofstream(bin / "xdg-open")
        << "#!/bin/sh\nprintf '%s|' \"$@\" > '" << opened.string() << "'\n";
    std::filesystem::permissions(bin / "xdg-open", std::filesystem::perms::owner_all);
    TriggerRecord launch = MakeTrigger(u"calc", u"Calculator", u"Launch", u"");
    launch.CommandLine = u"gnome-calculator --mode=advanced; echo $(id)";
    StartTavro({launch}, {}, {"PATH=" + bin.string() + ":" + std::getenv("PATH")});

    Type("calc");
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(opened); }));
    std::ifstream file(opened);
    const std::string arguments((std::istreambuf_iterator<char>(file)),
                                std::istreambuf_iterator<char>());
    EXPECT_EQ(arguments, "gnome-calculator --mode=advanced; echo $(id)|");
    EXPECT_EQ(EditorText(), "calc");
}

// With the desktop's own opener (xdg-utils), which starts no programs: a
// program named by its name, its path or its desktop entry opens a window;
// what would need a shell to mean anything runs nothing.
TEST_F(EndToEndTest, ALaunchTriggerStartsAProgramOrADesktopEntryAndNothingElse) {
    ASSERT_EQ(desktop->Run({"sh", "-c", "command -v xdg-open"}).output, "/usr/bin/xdg-open\n");
    const auto bin = tavro.Folder() / "bin";
    std::filesystem::create_directories(bin);
    for (const char* name : {"a", "b"}) {
        std::ofstream(bin / name) << "#!/bin/sh\ntouch '" << (tavro.Folder() / "ran").string()
                                  << "'\n";
        std::filesystem::permissions(bin / name, std::filesystem::perms::owner_all);
    }
    std::vector<TriggerRecord> triggers;
    for (const auto& [trigger, command] :
         {std::pair{u"mpn", u"mousepad"}, std::pair{u"mpp", u"/usr/bin/mousepad"},
          std::pair{u"mpd", u"org.xfce.mousepad.desktop"}, std::pair{u"inj", u"$(touch x)"},
          std::pair{u"sem", u"a;b"}}) {
        triggers.push_back(MakeTrigger(trigger, trigger, u"Launch", u""));
        triggers.back().CommandLine = command;
    }
    // The mousepad it starts must not find the desktop's own running.
    StartTavro(triggers, {},
               {desktop->StartAnotherBus(), "PATH=" + bin.string() + ":" + std::getenv("PATH")});

    for (const char* trigger : {"mpn", "mpp", "mpd"}) {
        SCOPED_TRACE(trigger);
        const std::vector<x11::test::WindowId> before = desktop->MousepadWindows();
        Type(trigger);
        x11::test::WindowId opened = 0;
        ASSERT_TRUE(WaitUntil([&] {
            for (const x11::test::WindowId window : desktop->MousepadWindows()) {
                if (std::find(before.begin(), before.end(), window) == before.end()) {
                    opened = window;
                }
            }
            return opened != 0;
        }));
        desktop->Xdotool({"windowactivate", "--sync", std::to_string(opened), "key", "ctrl+w"});
        ASSERT_TRUE(WaitUntil([&] { return desktop->MousepadWindows().size() == before.size(); }));
        desktop->Xdotool({"windowactivate", "--sync", std::to_string(editor)});
    }
    EXPECT_EQ(EditorText(), "mpnmppmpd");

    Type("inj");
    Type("sem");
    std::this_thread::sleep_for(std::chrono::seconds(2));
    EXPECT_FALSE(std::filesystem::exists(tavro.Folder() / "ran"));
    EXPECT_FALSE(std::filesystem::exists(tavro.Folder() / "x"));
    EXPECT_EQ(desktop->MousepadWindows().size(), 1U);
}

TEST_F(EndToEndTest, SeveralMatchesAreOfferedInAMenu) {
    StartTavro({MakeTrigger(u"xy", u"A short one", u"Text", u"SHORT"),
                MakeTrigger(u"yxy", u"B long one", u"Text", u"LONG")});
    Type("yxy");
    std::this_thread::sleep_for(std::chrono::milliseconds(700));  // the menu opens
    desktop->Xdotool({"key", "--delay", "150", "Down", "Down", "Return"});
    EXPECT_EQ(EditorTextOnceItIs("LONG"), "LONG");

    // Dismissed: nothing is delivered, and the typed keys are forgotten, so
    // that the shorter trigger alone matches next.
    Type("yxy");
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    desktop->Xdotool({"key", "Escape"});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(EditorText(), "LONGyxy");
    Type("xy");
    EXPECT_EQ(EditorTextOnceItIs("LONGyxySHORT"), "LONGyxySHORT");
}

TEST_F(EndToEndTest, AMissingOrBrokenDatabaseEndsTheProgramAfterTheMessage) {
    for (const char* content : {"", "not a database at all"}) {
        TavroProgram broken;
        if (*content != '\0') {
            std::ofstream(broken.DatabasePath()) << content;
        }
        broken.Start(desktop->ProgramEnvironment());
        std::string window;
        ASSERT_TRUE(WaitUntil([&] {
            window = desktop->Run({"xdotool", "search", "--name", "Error opening database"}).output;
            return !window.empty();
        }));
        desktop->Xdotool(
            {"windowactivate", "--sync", window.substr(0, window.find('\n')), "key", "Return"});
        const auto status = broken.WaitForExit(std::chrono::seconds(10));
        ASSERT_TRUE(status.has_value());
        EXPECT_NE(*status, 0);
    }
}

// LibreOffice Writer takes rich text and pictures from the clipboard.
TEST_F(EndToEndTest, AnOfficeProgramGetsRichTextAndPictures) {
    std::vector<TriggerRecord> triggers = {MakeTrigger(u"rtfx", u"Letter", u"RTF", u"plain letter"),
                                           MakeTrigger(u"imgx", u"Logo", u"Image", u"LOGO")};
    triggers[0].ReplaceRTFFile = (tavro.Folder() / "letter.rtf").u16string();
    triggers[1].ReplaceImageFile = (tavro.Folder() / "logo.png").u16string();
    std::ofstream(tavro.Folder() / "letter.rtf")
        << R"({\rtf1\ansi{\colortbl;\red255\green0\blue0;}Dear {\b Bold} and {\cf1 Red}\par})";
    std::ofstream(tavro.Folder() / "logo.png", std::ios::binary) << kRedSquarePng;
    StartTavro(triggers);

    WindowId window = 0;
    const auto writer = StartWriter(window);
    ASSERT_NE(window, 0U);

    Type("rtfx");
    std::this_thread::sleep_for(std::chrono::seconds(1));
    desktop->Xdotool({"key", "--delay", "200", "ctrl+a", "ctrl+c"});
    std::string rtf;
    WaitUntil([&] { return (rtf = Clipboard("text/rtf")).find("Red") != std::string::npos; });
    EXPECT_THAT(rtf, HasSubstr("Bold"));
    EXPECT_THAT(rtf, HasSubstr("\\b"));
    EXPECT_THAT(rtf, HasSubstr("\\red255\\green0\\blue0"));
    EXPECT_THAT(rtf, Not(HasSubstr("rtfx")));

    desktop->Xdotool({"key", "ctrl+End"});
    Type("imgx");
    std::this_thread::sleep_for(std::chrono::seconds(1));
    // The document now holds a picture: copied, it comes back as one.
    std::string copied;
    WaitUntil([&] {
        desktop->Xdotool({"key", "--delay", "200", "Escape", "ctrl+a", "ctrl+c"});
        copied = Clipboard("text/rtf") + Clipboard("TARGETS");
        return copied.find("\\pict") != std::string::npos ||
               copied.find("image/png") != std::string::npos;
    });
    EXPECT_TRUE(copied.find("\\pict") != std::string::npos ||
                copied.find("image/png") != std::string::npos)
        << copied.substr(0, 2000);
    EXPECT_THAT(copied, Not(HasSubstr("imgx")));
}

}  // namespace
}  // namespace tavro::e2e
