#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/FakeEngine.h"

namespace tavro {
namespace {

using test::FakeEngine;
using test::kEditor;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

const std::string kBack = "keybd_event(8,0,0,0)";
const std::string kCtrl = "keybd_event(17,0,0,0)";
const std::string kV = "keybd_event(86,0,0,0)";
const std::string kShift = "keybd_event(16,0,0,0)";
// The Right arrow after a pasted picture waits for the paste.
const std::vector<std::string> kThenRight = {"Clipboard.AwaitPaste()", "keybd_event(39,0,0,0)"};
const std::string kLaunch = "ShellExecuteA(100,\"Open\",\"xterm -e top\",\"\",\"/opt/tavro\",1)";
// The typed trigger is erased before the clipboard is filled, then pasted.
std::vector<std::string> ErasePaste(const std::string& filled) {
    return {kBack, kBack, kBack, "Clipboard.Clear()", filled, kCtrl, kV};
}
// The key-downs that type "Hi" (H with Shift).
const std::vector<std::string> kTypedHi = {kShift, "keybd_event(72,35,0,0)",
                                           "keybd_event(73,23,0,0)"};

enum class Target { SendKey, TextOnly, Other };

// A trigger "abc" of each type, fired into an application of each kind.
class DeliveryTest : public ::testing::Test {
  protected:
    DeliveryTest() {
        fixture.engine.Applications().SendKeyApps = {u"Word", u"TERMINAL"};
        fixture.engine.Applications().TextOnlyApps = {u"Notepad"};
    }

    std::vector<std::string> Fire(Target target, std::u16string type,
                                  std::u16string replaceText = u"Hi", bool hasPicture = true,
                                  bool hasRichText = true) {
        const std::u16string captions[] = {u"Terminal - bash", u"notes - notepad",
                                           u"Document - Writer"};
        fixture.windows.SetCaption(kEditor, captions[static_cast<int>(target)]);
        fixture.engine.Triggers().TriggerCount = 0;
        const int slot = fixture.AddTrigger(u"abc", u"Trigger", std::move(type));
        fixture.desktop.Stage(slot, {.replaceText = std::move(replaceText),
                                     .replaceRTF = hasRichText ? "{\\rtf1 \\b Hi\\b0}" : "",
                                     .commandLine = u"xterm -e top",
                                     .hasPicture = hasPicture});
        fixture.log.Clear();
        fixture.keyboard.Type(u"abc");
        return Delivered();
    }

    // What reached the application and the clipboard: clipboard changes,
    // launches, window commands and key-downs.
    std::vector<std::string> Delivered() const {
        std::vector<std::string> delivered;
        for (const std::string& call : fixture.log.CallsStartingWith(
                 {"Clipboard", "ShellExecuteA", "mnu", "keybd_event", "TypeCharacter"})) {
            if (!call.starts_with("keybd_event") || call.ends_with(",0,0)")) {
                delivered.push_back(call);
            }
        }
        return delivered;
    }

    static std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
        std::vector<std::string> joined;
        for (const auto& part : parts) {
            joined.insert(joined.end(), part.begin(), part.end());
        }
        return joined;
    }

    FakeEngine fixture;
};

// Keystrokes of the text, the alternate text of rich triggers (no Right
// arrow after an image's), also for an application on both lists.
TEST_F(DeliveryTest, SendKeyApplicationsReceiveTheAlternateTextOfRichTriggers) {
    const std::vector<std::string> typedHi = Join({{kBack, kBack, kBack}, kTypedHi});
    for (const char16_t* type : {u"Text", u"RTF", u"Image"}) {
        EXPECT_THAT(Fire(Target::SendKey, type), ElementsAreArray(typedHi));
    }
    fixture.engine.Applications().TextOnlyApps.push_back(u"terminal");
    EXPECT_THAT(Fire(Target::SendKey, u"Text"), ElementsAreArray(typedHi));
}

TEST_F(DeliveryTest, TextOnlyApplicationsReceivePastedPlainText) {
    const std::vector<std::string> pastedHi = ErasePaste("Clipboard.SetText(\"Hi\")");
    EXPECT_THAT(Fire(Target::TextOnly, u"Text"), ElementsAreArray(pastedHi));
    EXPECT_THAT(Fire(Target::TextOnly, u"RTF"), ElementsAreArray(pastedHi));
    EXPECT_THAT(Fire(Target::TextOnly, u"Image"), ElementsAreArray(Join({pastedHi, kThenRight})));
}

TEST_F(DeliveryTest, OtherApplicationsReceiveTheTriggersOwnFormat) {
    EXPECT_THAT(Fire(Target::Other, u"Text"),
                ElementsAreArray(ErasePaste("Clipboard.SetText(\"Hi\")")));
    EXPECT_THAT(Fire(Target::Other, u"RTF"),
                ElementsAreArray(ErasePaste("Clipboard.SetRichText(\"{\\rtf1 \\b Hi\\b0}\")")));
    EXPECT_THAT(Fire(Target::Other, u"Image"),
                ElementsAreArray(Join({ErasePaste("Clipboard.SetTriggerPicture()"), kThenRight})));
}

TEST_F(DeliveryTest, LaunchTriggersStartTheirCommandEverywhereAndEraseNothing) {
    for (Target target : {Target::SendKey, Target::TextOnly, Target::Other}) {
        EXPECT_THAT(Fire(target, u"Launch"), ElementsAre(kLaunch));
    }
}

// So does an image trigger without its picture, and a trigger of no known
// type.
TEST_F(DeliveryTest, AnRtfTriggerWithoutItsFileLeavesTheTypedTriggerAndTheClipboard) {
    EXPECT_THAT(Fire(Target::Other, u"RTF", u"Hi", true, false), IsEmpty());
    // Where the alternate text is delivered, the file is not needed.
    EXPECT_THAT(Fire(Target::TextOnly, u"RTF", u"Hi", true, false),
                ElementsAreArray(ErasePaste("Clipboard.SetText(\"Hi\")")));

    EXPECT_THAT(Fire(Target::Other, u"Image", u"Hi", false), IsEmpty());
    EXPECT_THAT(fixture.log.CallsStartingWith({"Tray"}),
                ElementsAre("Tray.ShowFlashIcon()", "Tray.ShowNormalIcon()"));
    EXPECT_THAT(Fire(Target::Other, u""), IsEmpty());
    EXPECT_THAT(Fire(Target::Other, u"Sound"), IsEmpty());
}

TEST_F(DeliveryTest, TheEnterTokenIsAKeyForSendKeyApplicationsAndTextElsewhere) {
    EXPECT_THAT(Fire(Target::SendKey, u"Text", u"%enter%"),
                ElementsAre(kBack, kBack, kBack, "keybd_event(13,0,0,0)"));
    EXPECT_THAT(Fire(Target::Other, u"Text", u"%enter%"),
                ElementsAreArray(ErasePaste("Clipboard.SetText(\"%enter%\")")));
}

TEST_F(DeliveryTest, WindowTokensOpenTheWindowAndKeepTheTypedTriggerOutsideSendKeyApplications) {
    EXPECT_THAT(Fire(Target::Other, u"Text", u"%tavronew%"),
                ElementsAre("mnuOpen()", "mnuNewTrigger()"));
    // A plain-text application gets no token text pasted either.
    EXPECT_THAT(Fire(Target::TextOnly, u"Text", u"%tavroopen%"), ElementsAre("mnuOpen()"));
    EXPECT_THAT(Fire(Target::SendKey, u"Text", u"%tavronew%"),
                ElementsAre(kBack, kBack, kBack, "mnuOpen()", "mnuNewTrigger()"));
}

TEST_F(DeliveryTest, TheTrayIconFlashesWhileTheTriggerFires) {
    Fire(Target::Other, u"Text");
    EXPECT_THAT(
        fixture.log.CallsStartingWith({"Tray", "YieldOnce", "ShowTrigger", "Clipboard.Clear"}),
        ElementsAre("Tray.ShowFlashIcon()", "YieldOnce()", "ShowTrigger(0)", "Clipboard.Clear()",
                    "Tray.ShowNormalIcon()"));
}

}  // namespace
}  // namespace tavro
