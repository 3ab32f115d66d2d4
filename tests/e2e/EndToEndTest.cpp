#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <thread>

#include "EndToEndFixture.h"
#include "text/Utf8.h"

namespace tavro::e2e {
namespace {

using ::testing::MatchesRegex;

// The date and time of the desktop's clock; a token is taken once.
TEST_F(EndToEndTest, ASendKeyApplicationGetsTheDateAndTimeTyped) {
    ApplicationLists applications;
    applications.SendKeyApps = {u"MOUSEPAD"};
    StartTavro({MakeTrigger(u"dt", u"Stamp", u"Text", u"[%date%|%time%|%date%]")}, applications);
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

// An image trigger's alternate text: in the tests with a clipboard manager.
TEST_F(EndToEndTest, ATextOnlyApplicationGetsTheAlternateTexts) {
    ApplicationLists applications;
    applications.TextOnlyApps = {u"Mousepad"};
    TriggerRecord letter = MakeTrigger(u"rtf", u"Letter", u"RTF", u"plain letter");
    letter.ReplaceRTFFile = (tavro.Folder() / "letter.rtf").u16string();
    std::ofstream(tavro.Folder() / "letter.rtf") << R"({\rtf1\ansi {\b bold} letter\par})";
    StartTavro({letter}, applications);
    Type("A: rtf");
    EXPECT_EQ(EditorTextOnceItIs("A: plain letter"), "A: plain letter");
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

TEST_F(EndToEndTest, AMissingOrBrokenDatabaseEndsTheProgramAfterTheMessage) {
    for (const char* content : {"", "not a database at all"}) {
        TavroProgram broken;
        if (*content != '\0') {
            std::ofstream(broken.DatabasePath()) << content;
        }
        broken.Start(desktop->ProgramEnvironment());
        std::vector<WindowId> window;
        ASSERT_TRUE(WaitUntil([&] {
            return !(window = desktop->Windows({"--name", "Error opening database"})).empty();
        }));
        desktop->Xdotool(
            {"windowactivate", "--sync", std::to_string(window.front()), "key", "Return"});
        const auto status = broken.WaitForExit(std::chrono::seconds(10));
        ASSERT_TRUE(status.has_value());
        EXPECT_NE(*status, 0);
    }
}

}  // namespace
}  // namespace tavro::e2e
