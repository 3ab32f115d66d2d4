#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <regex>
#include <thread>

#include "TavroProgram.h"
#include "support/TestDesktop.h"
#include "text/Utf8.h"

namespace tavro::e2e {
namespace {

using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using ::testing::Not;
using x11::test::TestDesktop;
using x11::test::WaitUntil;

// A 4 by 4 red PNG picture.
const std::string kRedSquarePng(
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x04\x00\x00\x00"
    "\x04\x08\x02\x00\x00\x00\x26\x93\x09\x29\x00\x00\x00\x10\x49\x44\x41\x54\x78\x9c\x63\xf8\xcf"
    "\xc0\x00\x47\x0c\xc4\x71\x00\xae\x93\x0f\xf1\xd0\x5f\x23\x9e\x00\x00\x00\x00\x49\x45\x4e\x44"
    "\xae\x42\x60\x82",
    73);

// Tavro on a desktop of its own, typing into mousepad. xdotool types as a
// user would; the editor's text is read back through its own copy.
class EndToEndTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        desktop = new TestDesktop();
        editor = desktop->OpenMousepadWindow();
    }
    static void TearDownTestSuite() {
        delete desktop;
        desktop = nullptr;
    }

    void SetUp() override {
        desktop->Xdotool({"windowactivate", "--sync", std::to_string(editor)});
        desktop->ClearEditor();
    }

    void StartTavro(const std::vector<TriggerRecord>& triggers,
                    const ApplicationLists& applications = {}, const Environment& extra = {}) {
        tavro.WriteDatabase(triggers, applications);
        Environment environment;
        for (const std::string& entry : desktop->ProgramEnvironment()) {
            const std::string name = entry.substr(0, entry.find('=') + 1);
            if (std::none_of(extra.begin(), extra.end(),
                             [&](const std::string& e) { return e.starts_with(name); })) {
                environment.push_back(entry);
            }
        }
        environment.insert(environment.end(), extra.begin(), extra.end());
        tavro.Start(environment);
        ASSERT_TRUE(tavro.WaitUntilRunning());
    }

    static void Type(const std::string& text) { desktop->Xdotool({"type", "--delay", "30", text}); }

    // The editor's text; the caret is at its end afterwards.
    static std::string EditorText() {
        std::string text = desktop->EditorText();
        desktop->Xdotool({"key", "ctrl+End"});
        return text;
    }

    // Waits until the editor holds the text; returns what it holds.
    static std::string EditorTextOnceItIs(const std::string& expected) {
        std::string text;
        WaitUntil([&] { return (text = EditorText()) == expected; }, std::chrono::seconds(5));
        return text;
    }

    static std::string Clipboard(const std::string& type = "UTF8_STRING") {
        return desktop->Run({"xclip", "-o", "-selection", "clipboard", "-t", type}).output;
    }

    // mousepad, then a featherpad window (started the first time), each in
    // front and emptied when `use` runs for it.
    static void InBothEditors(const std::function<void()>& use) {
        if (featherpad == 0) {
            featherpad = desktop->OpenFeatherpadWindow();
        }
        for (const x11::test::WindowId window : {editor, featherpad}) {
            SCOPED_TRACE(desktop->WindowName(window));
            desktop->Xdotool({"windowactivate", "--sync", std::to_string(window)});
            desktop->ClearEditor();
            use();
        }
    }

    // Types the keys with Shift held until a second after the last, as a
    // person whose finger is still on Shift when the trigger fires.
    static void TypeWithShiftHeld(const std::vector<std::string>& keys) {
        std::vector<std::string> arguments{"keydown", "shift", "key", "--delay", "40"};
        arguments.insert(arguments.end(), keys.begin(), keys.end());
        arguments.insert(arguments.end(), {"sleep", "1", "keyup", "shift"});
        desktop->Xdotool(arguments);
    }

    static TestDesktop* desktop;
    static x11::test::WindowId editor;
    static x11::test::WindowId featherpad;
    TavroProgram tavro;
};

TestDesktop* EndToEndTest::desktop = nullptr;
x11::test::WindowId EndToEndTest::editor = 0;
x11::test::WindowId EndToEndTest::featherpad = 0;

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
    desktop->Xdotool({"key", "--delay", "100", "z"});
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

    const auto profile = tavro.Folder() / "office-profile";
    ChildProcess writer({"soffice", "--writer", "--norestore", "--nologo",
                         "-env:UserInstallation=file://" + profile.string()},
                        desktop->ProgramEnvironment(), std::nullopt,
                        (tavro.Folder() / "soffice.log").string());
    std::string window;
    ASSERT_TRUE(WaitUntil(
        [&] {
            window =
                desktop->Run({"xdotool", "search", "--onlyvisible", "--name", "LibreOffice Writer"})
                    .output;
            return !window.empty();
        },
        std::chrono::seconds(90)));
    window = window.substr(0, window.find('\n'));
    desktop->Xdotool({"windowactivate", "--sync", window});
    std::this_thread::sleep_for(std::chrono::seconds(2));  // the document takes the focus

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
