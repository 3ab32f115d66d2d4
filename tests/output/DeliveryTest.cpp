#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/FakeEngine.h"

namespace tavro {
namespace {

using test::FakeEngine;
using test::kEditor;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using Calls = std::vector<std::string>;

const std::string kBack = "keybd_event(8,0,0,0)";
const std::string kLaunch = "ShellExecuteA(100,\"Open\",\"xterm -e top\",\"\",\"/opt/tavro\",1)";

// The Backspaces that erase "abc" and the keys typed after them go out as
// one delivery, kept to the editor's window.
Calls Typed(const Calls& keys) {
    Calls typed = {"KeepToWindow(200)", kBack, kBack, kBack};
    typed.insert(typed.end(), keys.begin(), keys.end());
    typed.push_back("KeepToWindow(0)");
    return typed;
}
const Calls kTypedHi =
    Typed({"keybd_event(16,0,0,0)", "keybd_event(72,35,0,0)", "keybd_event(73,23,0,0)"});

// Pasted: the typed trigger is erased (a delivery of its own) before the
// clipboard is filled; the Right arrow after a picture waits for the paste.
Calls Pasted(const std::string& filled, bool picture = false) {
    Calls pasted = Typed({});
    pasted.insert(pasted.end(),
                  {"Clipboard.Clear()", filled, "keybd_event(17,0,0,0)", "keybd_event(86,0,0,0)"});
    if (picture) {
        pasted.insert(pasted.end(), {"Clipboard.AwaitPaste()", "keybd_event(39,0,0,0)"});
    }
    return pasted;
}
const Calls kPastedHi = Pasted("Clipboard.SetText(\"Hi\")");

enum class Target { SendKey, TextOnly, Other };

// A trigger "abc" of each type, fired into an application of each kind.
// The lists match captions in any case; their empty entries match none.
// The SendKey application is on the Text Only list too.
class DeliveryTest : public ::testing::Test {
  protected:
    DeliveryTest() {
        fixture.engine.Applications().SendKeyApps = {u"Word", u"", u"TERMINAL"};
        fixture.engine.Applications().TextOnlyApps = {u"", u"Notepad", u"bash"};
    }

    Calls Fire(Target target, std::u16string type, std::u16string replaceText, bool hasFile) {
        const std::u16string captions[] = {u"Terminal - bash", u"notes - notepad",
                                           u"Document - Writer"};
        fixture.windows.SetCaption(kEditor, captions[static_cast<int>(target)]);
        fixture.engine.Triggers().TriggerCount = 0;
        const int slot = fixture.AddTrigger(u"abc", u"Trigger", std::move(type));
        fixture.desktop.Stage(slot, {.replaceText = std::move(replaceText),
                                     .replaceRTF = hasFile ? "{\\rtf1 \\b Hi\\b0}" : "",
                                     .commandLine = u"xterm -e top",
                                     .hasPicture = hasFile});
        fixture.log.Clear();
        fixture.keyboard.Type(u"abc");
        // Clipboard changes, launches, window commands and key-downs.
        Calls delivered;
        for (const std::string& call : fixture.log.CallsStartingWith(
                 {"Clipboard", "ShellExecuteA", "mnu", "keybd_event", "TypeCharacter", "Keep"})) {
            if (!call.starts_with("keybd_event") || call.ends_with(",0,0)")) {
                delivered.push_back(call);
            }
        }
        return delivered;
    }

    FakeEngine fixture;
};

TEST_F(DeliveryTest, EachApplicationGetsWhatItTakes) {
    struct Case {
        Target target;
        std::u16string type;
        Calls expected;
        std::u16string replaceText = u"Hi";
        bool hasFile = true;  // the rich-text file, the picture
    };
    const Case cases[] = {
        // SendKey applications: keystrokes of the text, the alternate text of
        // rich triggers (no Right arrow after an image's).
        {Target::SendKey, u"Text", kTypedHi},
        {Target::SendKey, u"Image", kTypedHi},
        // Text Only applications: pasted plain text (as a Text trigger is
        // everywhere else), the file not needed.
        {Target::TextOnly, u"RTF", kPastedHi},
        {Target::TextOnly, u"RTF", kPastedHi, u"Hi", false},
        {Target::TextOnly, u"Image", Pasted("Clipboard.SetText(\"Hi\")", true)},
        // The others: the trigger's own format.
        {Target::Other, u"Text", kPastedHi},
        {Target::Other, u"RTF", Pasted("Clipboard.SetRichText(\"{\\rtf1 \\b Hi\\b0}\")")},
        {Target::Other, u"Image", Pasted("Clipboard.SetTriggerPicture()", true)},
        // Without its file, or of no known type, a trigger delivers nothing
        // and leaves what was typed and the clipboard.
        {Target::Other, u"RTF", {}, u"Hi", false},
        {Target::Other, u"Image", {}, u"Hi", false},
        {Target::Other, u"Sound", {}},
        // Launch triggers start their command everywhere and erase nothing.
        {Target::SendKey, u"Launch", {kLaunch}},
        {Target::TextOnly, u"Launch", {kLaunch}},
        // %enter% is a key for SendKey applications, text elsewhere.
        {Target::SendKey, u"Text", {kBack, kBack, kBack, "keybd_event(13,0,0,0)"}, u"%enter%"},
        {Target::Other, u"Text", Pasted("Clipboard.SetText(\"%enter%\")"), u"%enter%"},
        // Window tokens open the window; outside SendKey applications the
        // typed trigger stays, and nothing is pasted.
        {Target::Other, u"Text", {"mnuOpen()", "mnuNewTrigger()"}, u"%tavronew%"},
        {Target::TextOnly, u"Text", {"mnuOpen()"}, u"%tavroopen%"},
        {Target::SendKey,
         u"Text",
         {kBack, kBack, kBack, "mnuOpen()", "mnuNewTrigger()"},
         u"%tavronew%"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(c.target) << " "
                                          << std::string(c.type.begin(), c.type.end()) << " "
                                          << std::string(c.replaceText.begin(), c.replaceText.end())
                                          << (c.hasFile ? "" : " without its file"));
        EXPECT_EQ(Fire(c.target, c.type, c.replaceText, c.hasFile), c.expected);
    }
}

// The tray icon flashes while a trigger fires, also one that delivers
// nothing.
TEST_F(DeliveryTest, TheTrayIconGoesBackToNormalAfterEveryFiring) {
    EXPECT_THAT(Fire(Target::Other, u"Image", u"Hi", false), IsEmpty());
    EXPECT_THAT(fixture.log.CallsStartingWith({"Tray"}),
                ElementsAre("Tray.ShowFlashIcon()", "Tray.ShowNormalIcon()"));
}

}  // namespace
}  // namespace tavro
