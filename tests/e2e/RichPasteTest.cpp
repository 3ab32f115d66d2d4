#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "TavroProgram.h"
#include "support/TestDesktop.h"

namespace tavro::e2e {
namespace {

using ::testing::ContainsRegex;
using ::testing::HasSubstr;
using ::testing::Not;
using x11::test::TestDesktop;
using x11::test::WaitUntil;
using x11::test::WindowId;

constexpr auto kBrowserStartTimeout = std::chrono::seconds(60);

const char* const kLetter =
    R"({\rtf1\ansi{\colortbl;\red255\green0\blue0;}Dear {\b Bold} and {\cf1 Red}\par )"
    R"(Bye {\i now}\par})";
const std::string kLetterText = "Dear Bold and Red\nBye now";

// A web page with a plain text field, focused, and a rich editor after it.
const char* const kPage = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Tavro paste page</title></head><body>
<textarea rows="5" cols="60" autofocus></textarea>
<div contenteditable="true" style="border:1px solid gray;min-height:5em"></div>
</body></html>
)";

// A rich-text trigger fired where RTF is not read: Chromium's text field and
// editor, and mousepad on no list; and plain text with CR LF line ends.
class RichPasteTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        desktop = new TestDesktop();
        editor = desktop->OpenMousepadWindow();
        tavro = new TavroProgram();
        std::ofstream(tavro->Folder() / "letter.rtf") << kLetter;
        std::ofstream(tavro->Folder() / "page.html") << kPage;
        TriggerRecord letter = MakeTrigger(u"rtfb", u"Letter", u"RTF", u"plain letter");
        letter.ReplaceRTFFile = (tavro->Folder() / "letter.rtf").u16string();
        tavro->WriteDatabase({letter, MakeTrigger(u"crlf", u"Lines", u"Text", u"one\r\ntwo\r\n")},
                             {});
        tavro->Start(desktop->ProgramEnvironment());
        browser = new ChildProcess(
            {"chromium", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
             "--no-first-run", "--disable-background-networking", "--disable-component-update",
             "--disable-sync", "--password-store=basic",
             "--user-data-dir=" + (tavro->Folder() / "chromium").string(),
             "file://" + (tavro->Folder() / "page.html").string()},
            desktop->ProgramEnvironment(), std::nullopt,
            (tavro->Folder() / "chromium.log").string());
    }
    static void TearDownTestSuite() {
        delete browser;
        delete tavro;
        delete desktop;
    }

    void SetUp() override { ASSERT_TRUE(tavro->WaitUntilRunning()); }

    static void Type(const std::string& text) { desktop->Xdotool({"type", "--delay", "30", text}); }

    static std::string Clipboard(const std::string& type) {
        return desktop->Run({"xclip", "-o", "-selection", "clipboard", "-t", type}).output;
    }

    // Selects everything in the focused field and copies it; the copy in
    // the type asked for.
    static std::string CopyAll(const std::string& type) {
        const std::string before = Clipboard("TIMESTAMP");
        desktop->Xdotool({"key", "ctrl+a", "ctrl+c"});
        if (!WaitUntil([&] { return Clipboard("TIMESTAMP") != before; })) {
            return "(nothing was copied)";
        }
        return Clipboard(type);
    }

    // Brings the page to the front with its text field focused and empty.
    // The first time, this waits until the browser has started and takes
    // typing.
    static void ShowPage() {
        std::string window;
        ASSERT_TRUE(WaitUntil(
            [&] {
                window =
                    desktop
                        ->Run({"xdotool", "search", "--onlyvisible", "--name", "Tavro paste page"})
                        .output;
                return !window.empty();
            },
            kBrowserStartTimeout));
        desktop->Xdotool({"windowactivate", "--sync", window.substr(0, window.find('\n'))});
        ASSERT_TRUE(WaitUntil(
            [] {
                desktop->Xdotool({"key", "ctrl+a", "BackSpace"});
                Type("ready");
                return CopyAll("UTF8_STRING") == "ready";
            },
            kBrowserStartTimeout));
        desktop->Xdotool({"key", "ctrl+a", "BackSpace"});
    }

    static TestDesktop* desktop;
    static WindowId editor;
    static TavroProgram* tavro;
    static ChildProcess* browser;
};

TestDesktop* RichPasteTest::desktop = nullptr;
WindowId RichPasteTest::editor = 0;
TavroProgram* RichPasteTest::tavro = nullptr;
ChildProcess* RichPasteTest::browser = nullptr;

TEST_F(RichPasteTest, ABrowserGetsFormattedTextInItsEditorAndPlainTextInItsField) {
    ShowPage();
    Type("x rtfb");
    std::string text;
    WaitUntil([&] { return (text = CopyAll("UTF8_STRING")) == "x " + kLetterText; });
    EXPECT_EQ(text, "x " + kLetterText);

    desktop->Xdotool({"key", "Tab"});  // to the editor
    Type("y rtfb");
    WaitUntil([&] { return (text = CopyAll("UTF8_STRING")) == "y " + kLetterText; });
    EXPECT_EQ(text, "y " + kLetterText);
    const std::string html = Clipboard("text/html");
    EXPECT_THAT(html, ContainsRegex("(<b>|<strong>|font-weight: (bold|700)[^>]*>)Bold<"));
    EXPECT_THAT(html, ContainsRegex("color: rgb\\(255, 0, 0\\)[^>]*>Red<"));
    EXPECT_THAT(html, ContainsRegex("<i>now<"));
    EXPECT_THAT(html, Not(HasSubstr("rtfb")));
}

TEST_F(RichPasteTest, APlainEditorOnNoListGetsThePlainText) {
    desktop->Xdotool({"windowactivate", "--sync", std::to_string(editor)});
    desktop->ClearEditor();
    Type("a rtfb");
    // Offered first as RTF, then as HTML, then as text in the X11 types.
    std::string targets;
    WaitUntil(
        [&] { return (targets = Clipboard("TARGETS")).find("text/rtf") != std::string::npos; });
    EXPECT_THAT(targets, ContainsRegex("text/rtf\n(.*\n)*text/html\n(.*\n)*UTF8_STRING\n"));
    EXPECT_THAT(targets, HasSubstr("\nSTRING\n"));
    std::string text;
    WaitUntil([&] { return (text = desktop->EditorText()) == "a " + kLetterText; });
    EXPECT_EQ(text, "a " + kLetterText);
}

TEST_F(RichPasteTest, PastedTextHasLineFeedsOnly) {
    desktop->Xdotool({"windowactivate", "--sync", std::to_string(editor)});
    desktop->ClearEditor();
    Type("crlf");
    WaitUntil([] { return Clipboard("UTF8_STRING") == "one\ntwo\n"; });
    std::string text;
    WaitUntil([&] { return (text = desktop->EditorText()) == "one\ntwo\n"; });
    EXPECT_EQ(text, "one\ntwo\n");
}

}  // namespace
}  // namespace tavro::e2e
