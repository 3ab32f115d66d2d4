#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "EndToEndFixture.h"

namespace tavro::e2e {
namespace {

using ::testing::ContainsRegex;
using ::testing::HasSubstr;
using ::testing::Not;

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
class RichPasteTest : public EndToEndTest {
  protected:
    static void SetUpTestSuite() {
        EndToEndTest::SetUpTestSuite();
        program = new TavroProgram();
        std::ofstream(program->Folder() / "letter.rtf") << kLetter;
        std::ofstream(program->Folder() / "page.html") << kPage;
        TriggerRecord letter = MakeTrigger(u"rtfb", u"Letter", u"RTF", u"plain letter");
        letter.ReplaceRTFFile = (program->Folder() / "letter.rtf").u16string();
        program->WriteDatabase({letter, MakeTrigger(u"crlf", u"Lines", u"Text", u"one\r\ntwo\r\n")},
                               {});
        program->Start(desktop->ProgramEnvironment());
        browser = new ChildProcess(
            {"chromium", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
             "--no-first-run", "--disable-background-networking", "--disable-component-update",
             "--disable-sync", "--password-store=basic",
             "--user-data-dir=" + (program->Folder() / "chromium").string(),
             "file://" + (program->Folder() / "page.html").string()},
            desktop->ProgramEnvironment(), std::nullopt,
            (program->Folder() / "chromium.log").string());
    }
    static void TearDownTestSuite() {
        delete browser;
        delete program;
        EndToEndTest::TearDownTestSuite();
    }

    void SetUp() override { ASSERT_TRUE(program->WaitUntilRunning()); }

    static void ShowEditor() {
        desktop->Xdotool({"windowactivate", "--sync", std::to_string(editor)});
        desktop->ClearEditor();
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
        std::vector<WindowId> window;
        ASSERT_TRUE(WaitUntil(
            [&] {
                return !(window = desktop->Windows({"--onlyvisible", "--name", "Tavro paste page"}))
                            .empty();
            },
            kBrowserStartTimeout));
        desktop->Xdotool({"windowactivate", "--sync", std::to_string(window.front())});
        ASSERT_TRUE(WaitUntil(
            [] {
                desktop->Xdotool({"key", "ctrl+a", "BackSpace"});
                Type("ready");
                return CopyAll("UTF8_STRING") == "ready";
            },
            kBrowserStartTimeout));
        desktop->Xdotool({"key", "ctrl+a", "BackSpace"});
    }

    // One program for all the tests, started with the browser.
    static inline TavroProgram* program = nullptr;
    static inline ChildProcess* browser = nullptr;
};

// Chromium takes a Backspace only on the Backspace key's own keycode: a
// firing erases the whole trigger, also right after keys went to another
// window.
TEST_F(RichPasteTest, ABrowserGetsFormattedTextInItsEditorAndPlainTextInItsField) {
    ShowEditor();
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
    ShowEditor();
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
    ShowEditor();
    Type("crlf");
    WaitUntil([] { return Clipboard("UTF8_STRING") == "one\ntwo\n"; });
    std::string text;
    WaitUntil([&] { return (text = desktop->EditorText()) == "one\ntwo\n"; });
    EXPECT_EQ(text, "one\ntwo\n");
}

}  // namespace
}  // namespace tavro::e2e
