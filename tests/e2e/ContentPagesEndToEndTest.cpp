// The rich-text and image pages of the tavro program, used as a person uses
// them: formatted text copied in LibreOffice Writer, and a picture put on
// the clipboard, pasted on the page and saved under a name typed into the
// file dialog, then fired back into Writer.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "EndToEndFixture.h"
#include "support/Files.h"

namespace tavro::e2e {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

// Bold, coloured words in a Writer document, to be copied there.
const char* const kSource =
    R"({\rtf1\ansi{\fonttbl{\f0 DejaVu Sans;}}{\colortbl;\red200\green30\blue30;}\f0 )"
    R"(Kind {\b\cf1 regards}, Ann\par})";

// The list holds "ximg - Logo" and "xrtf - Signature", in that order.
constexpr int kImageRow = 0;
constexpr int kRichTextRow = 1;
// Tab presses from the trigger list to a page's Paste button: past the
// three header fields, the path box, its "...", New and, on the rich-text
// page, the preview. Edit is skipped while it is disabled (no file yet).
constexpr int kTabsToPasteRtf = 8;
constexpr int kTabsToPasteImage = 7;

class ContentPagesEndToEndTest : public EndToEndTest {
  protected:
    // The main window in front with the trigger list focused, the trigger on
    // the row chosen, and the button `tabs` Tab presses away pressed.
    void PressButtonOfTrigger(int row, int tabs) {
        const WindowId main = TavroWindow("Tavro!");
        if (desktop->Viewable(main)) {
            // Out of sight first, which focuses the list.
            desktop->Xdotool({"windowminimize", std::to_string(main)});
            ASSERT_TRUE(WaitUntil([&] { return !desktop->Viewable(main); }));
        }
        ShowWindowByStartingTavroAgain();
        std::vector<std::string> keys{"Home"};
        keys.insert(keys.end(), row, "Down");
        Keys(keys);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        keys.assign(tabs, "Tab");
        keys.push_back("space");
        Keys(keys);
    }

    // Types the name into the save dialog that the button opened; the file
    // of that name in the data folder once it is there.
    fs::path SaveAs(const std::string& name, const std::string& extension) {
        EXPECT_TRUE(WaitUntil([&] { return desktop->ActiveWindow() == TavroWindow("Save As"); }))
            << "no save dialog";
        Type(name, 40);
        Keys({"Return"});
        const fs::path file = tavro.Folder() / "data" / (name + extension);
        EXPECT_TRUE(WaitUntil([&] { return fs::exists(file); })) << "nothing was saved";
        return file;
    }

    // A Writer window whose name starts with `document`, in front.
    static WindowId ActivateWriter(const std::string& document) {
        std::vector<WindowId> windows;
        WaitUntil(
            [&] {
                return !(windows = desktop->Windows(
                             {"--onlyvisible", "--name", "^" + document + ".*LibreOffice Writer"}))
                            .empty();
            },
            std::chrono::seconds(90));
        if (windows.empty()) {
            return 0;
        }
        desktop->Xdotool({"windowactivate", "--sync", std::to_string(windows.front())});
        std::this_thread::sleep_for(std::chrono::seconds(2));  // the document takes the focus
        return windows.front();
    }

    // Types the trigger into the Writer document in front; then its whole
    // RTF and types, once it holds the text.
    static std::string FireIntoWriter(const std::string& trigger, const std::string& holds) {
        Type(trigger, 40);
        std::this_thread::sleep_for(std::chrono::seconds(1));
        std::string copied;
        WaitUntil([&] {
            Keys({"Escape", "ctrl+a", "ctrl+c"});
            copied = Clipboard("text/rtf") + Clipboard("TARGETS");
            return copied.find(holds) != std::string::npos;
        });
        return copied;
    }
};

TEST_F(ContentPagesEndToEndTest, ClipboardContentSavedOnItsPageFiresBackIntoWriter) {
    StartTavro({MakeTrigger(u"xrtf", u"Signature", u"RTF", u"Kind regards, Ann"),
                MakeTrigger(u"ximg", u"Logo", u"Image", u"[logo]")});
    std::ofstream(tavro.Folder() / "source.rtf") << kSource;
    WindowId window = 0;
    const auto writer = StartWriter(window, (tavro.Folder() / "source.rtf").string());
    ASSERT_NE(ActivateWriter("source"), 0U) << "Writer did not open the document";
    Keys({"ctrl+a", "ctrl+c"});
    ASSERT_TRUE(
        WaitUntil([] { return Clipboard("text/rtf").find("regards") != std::string::npos; }));

    PressButtonOfTrigger(kRichTextRow, kTabsToPasteRtf);
    SaveAs("signature", ".rtf");
    ActivateWriter("source");
    Keys({"ctrl+n"});
    ASSERT_NE(ActivateWriter("Untitled"), 0U);
    const std::string rtf = FireIntoWriter("xrtf", "regards");
    EXPECT_THAT(rtf, HasSubstr("\\b"));
    EXPECT_THAT(rtf, HasSubstr("\\red200\\green30\\blue30"));
    EXPECT_THAT(rtf, Not(HasSubstr("xrtf")));

    desktop->SetClipboard(kRedSquarePng, "image/png");
    PressButtonOfTrigger(kImageRow, kTabsToPasteImage);
    EXPECT_EQ(test::ReadFile(SaveAs("logo", ".bmp")).substr(0, 2), "BM");
    ASSERT_NE(ActivateWriter("Untitled"), 0U);
    Keys({"ctrl+End", "Return"});
    const std::string picture = FireIntoWriter("ximg", "\\pict");
    EXPECT_THAT(picture, HasSubstr("\\pict"));
    EXPECT_THAT(picture, Not(HasSubstr("ximg")));
}

}  // namespace
}  // namespace tavro::e2e
