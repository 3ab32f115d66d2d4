#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

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

using RichPasteTest = EndToEndTest;

// Selects everything in the focused field and copies it; the copy in the
// type asked for.
std::string CopyAll(const TestDesktop& desktop, const std::string& type) {
    const auto clipboard = [&](const std::string& as) {
        return desktop.Run({"xclip", "-o", "-selection", "clipboard", "-t", as}).output;
    };
    const std::string before = clipboard("TIMESTAMP");
    desktop.Xdotool({"key", "ctrl+a", "ctrl+c"});
    if (!WaitUntil([&] { return clipboard("TIMESTAMP") != before; })) {
        return "(nothing was copied)";
    }
    return clipboard(type);
}

// A rich-text trigger fired where RTF is not read: mousepad on no list gets
// its plain text, as it gets plain text with line feeds only; Chromium's
// text field its plain text and its editor the formatted text, as HTML.
// Chromium takes a Backspace only on the Backspace key's own keycode: a
// firing erases the whole trigger, also right after keys went to another
// window.
TEST_F(RichPasteTest, RichTextArrivesPlainOrAsHtmlWhereRtfIsNotRead) {
    std::ofstream(tavro.Folder() / "letter.rtf") << kLetter;
    std::ofstream(tavro.Folder() / "page.html") << kPage;
    TriggerRecord letter = MakeTrigger(u"rtfb", u"Letter", u"RTF", u"plain letter");
    letter.ReplaceRTFFile = (tavro.Folder() / "letter.rtf").u16string();
    StartTavro({letter, MakeTrigger(u"crlf", u"Lines", u"Text", u"one\r\ntwo\r\n")});
    ChildProcess browser(
        {"chromium", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--password-store=basic", "--user-data-dir=" + (tavro.Folder() / "chromium").string(),
         "file://" + (tavro.Folder() / "page.html").string()},
        desktop->ProgramEnvironment(), std::nullopt, (tavro.Folder() / "chromium.log").string());

    // The page in front once the browser takes typing, its text field
    // focused and empty.
    std::vector<WindowId> page;
    ASSERT_TRUE(WaitUntil(
        [&] {
            return !(page = desktop->Windows({"--onlyvisible", "--name", "Tavro paste page"}))
                        .empty();
        },
        kBrowserStartTimeout));
    desktop->Xdotool({"windowactivate", "--sync", std::to_string(page.front())});
    ASSERT_TRUE(WaitUntil(
        [] {
            Keys({"ctrl+a", "BackSpace"});
            Type("ready");
            return CopyAll(*desktop, "UTF8_STRING") == "ready";
        },
        kBrowserStartTimeout));
    Keys({"ctrl+a", "BackSpace"});

    desktop->Xdotool({"windowactivate", "--sync", std::to_string(editor)});
    desktop->ClearEditor();
    Type("crlf");
    EXPECT_EQ(EditorTextOnceItIs("one\ntwo\n"), "one\ntwo\n");
    Type("a rtfb");
    const std::string expected = "one\ntwo\na " + kLetterText;
    EXPECT_EQ(EditorTextOnceItIs(expected), expected);

    desktop->Xdotool({"windowactivate", "--sync", std::to_string(page.front())});
    Type("x rtfb");
    std::string text;
    WaitUntil([&] { return (text = CopyAll(*desktop, "UTF8_STRING")) == "x " + kLetterText; });
    EXPECT_EQ(text, "x " + kLetterText);

    Keys({"Tab"});  // to the editor
    Type("y rtfb");
    WaitUntil([&] { return (text = CopyAll(*desktop, "UTF8_STRING")) == "y " + kLetterText; });
    EXPECT_EQ(text, "y " + kLetterText);
    const std::string html = Clipboard("text/html");
    EXPECT_THAT(html, ContainsRegex("(<b>|<strong>|font-weight: (bold|700)[^>]*>)Bold<"));
    EXPECT_THAT(html, ContainsRegex("color: rgb\\(255, 0, 0\\)[^>]*>Red<"));
    EXPECT_THAT(html, ContainsRegex("<i>now<"));
    EXPECT_THAT(html, Not(HasSubstr("rtfb")));
}

}  // namespace
}  // namespace tavro::e2e
