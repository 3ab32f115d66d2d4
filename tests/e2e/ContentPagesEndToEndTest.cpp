// The rich-text and image pages of the tavro program, used as a person uses
// them: formatted text and a picture copied in LibreOffice Writer or put on
// the clipboard, pasted on the page, saved under a name typed into the
// file dialog, and fired back into Writer; the file opened in the desktop's
// program for it; and the legend printed with Ctrl+P.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>

#include <cstdlib>
#include <fstream>
#include <thread>

#include "TavroProgram.h"
#include "app/DesktopPictureLoader.h"
#include "richtext/ImageSize.h"
#include "support/Files.h"
#include "support/LibreOffice.h"
#include "support/TestDesktop.h"

namespace tavro::e2e {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using ::testing::ContainsRegex;
using ::testing::HasSubstr;
using ::testing::Not;
using x11::test::TestDesktop;
using x11::test::WaitUntil;
using x11::test::WindowId;

constexpr auto kWriterStartTimeout = std::chrono::seconds(90);

// Bold, coloured words in a Writer document, to be copied there.
const char* const kSource =
    R"({\rtf1\ansi{\fonttbl{\f0 DejaVu Sans;}}{\colortbl;\red200\green30\blue30;}\f0 )"
    R"(Kind {\b\cf1 regards}, Ann\par})";

// A Writer document showing the picture file logo.bmp beside it.
const char* const kPictureDocument =
    R"(<?xml version="1.0" encoding="UTF-8"?>)"
    R"(<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" )"
    R"(xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" )"
    R"(xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0" )"
    R"(xmlns:xlink="http://www.w3.org/1999/xlink" )"
    R"(xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" office:version="1.2" )"
    R"(office:mimetype="application/vnd.oasis.opendocument.text"><office:body><office:text>)"
    R"(<text:p><draw:frame text:anchor-type="as-char" svg:width="3cm" svg:height="2cm">)"
    R"(<draw:image xlink:href="logo.bmp" xlink:type="simple" xlink:show="embed" )"
    R"(xlink:actuate="onLoad"/></draw:frame></text:p></office:text></office:body></office:document>)";

// The list holds "ximg - Logo" and "xrtf - Signature", in that order.
constexpr int kImageRow = 0;
constexpr int kRichTextRow = 1;
// Tab presses from the trigger list to a page's button: past the three
// header fields, the path box, its "..." and, on the rich-text page, the
// preview. Edit is skipped while it is disabled (no file yet).
constexpr int kTabsToNewRtf = 7;
constexpr int kTabsToNewImage = 6;

class ContentPagesEndToEndTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        desktop = new TestDesktop();
        tavro = new TavroProgram();
        const fs::path folder = tavro->Folder();
        // An opener of our own records what the program asks it to open.
        fs::create_directories(folder / "bin");
        std::ofstream(folder / "bin" / "xdg-open")
            << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << (folder / "opened.txt").string() << "'\n";
        fs::permissions(folder / "bin" / "xdg-open", fs::perms::owner_all);
        tavro->WriteDatabase({MakeTrigger(u"xrtf", u"Signature", u"RTF", u"Kind regards, Ann"),
                              MakeTrigger(u"ximg", u"Logo", u"Image", u"[logo]")},
                             {});
        tavro->Start(x11::test::EnvironmentWith(
            desktop->ProgramEnvironment(),
            {"PATH=" + (folder / "bin").string() + ":" + std::getenv("PATH")}));
        std::ofstream(folder / "source.rtf") << kSource;
        writer = new ChildProcess({"soffice", "--writer", "--norestore", "--nologo",
                                   "-env:UserInstallation=file://" + (folder / "office").string(),
                                   (folder / "source.rtf").string()},
                                  desktop->ProgramEnvironment(), std::nullopt,
                                  (folder / "soffice.log").string());
    }
    static void TearDownTestSuite() {
        delete writer;
        delete tavro;
        delete desktop;
        writer = nullptr;
        tavro = nullptr;
        desktop = nullptr;
    }

    void SetUp() override { ASSERT_TRUE(tavro->WaitUntilRunning()); }

    static void Keys(const std::vector<std::string>& keys) {
        std::vector<std::string> command{"key", "--delay", "100"};
        command.insert(command.end(), keys.begin(), keys.end());
        desktop->Xdotool(command);
    }
    static void Type(const std::string& text) { desktop->Xdotool({"type", "--delay", "40", text}); }

    // The window of this test's tavro with exactly this name; 0 for none.
    static WindowId TavroWindow(const std::string& name) {
        const auto windows = desktop->Windows(
            {"--all", "--pid", std::to_string(tavro->Pid()), "--name", "^" + name + "$"});
        return windows.empty() ? 0 : windows.front();
    }

    // The main window in front with the trigger list focused: out of sight
    // first (which focuses the list), then shown again as starting a second
    // Tavro shows it; the trigger on the row is chosen.
    static void ShowTrigger(int row) {
        const WindowId main = TavroWindow("Tavro!");
        ASSERT_NE(main, 0U);
        if (desktop->Viewable(main)) {
            desktop->Xdotool({"windowminimize", std::to_string(main)});
            ASSERT_TRUE(WaitUntil([&] { return !desktop->Viewable(main); }));
        }
        TavroProgram second;
        second.WriteDatabase({MakeTrigger(u"two", u"Second", u"Text", u"2")}, {});
        second.Start(desktop->ProgramEnvironment());
        ASSERT_EQ(second.WaitForExit(std::chrono::seconds(10)), 0);
        ASSERT_TRUE(WaitUntil([&] {
            return desktop->Viewable(main) && desktop->ActiveWindow() == main;
        })) << "the main window did not open";
        std::vector<std::string> keys{"Home"};
        keys.insert(keys.end(), row, "Down");
        Keys(keys);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }

    // Presses the button `tabs` Tab presses away from the list.
    static void PressButton(int tabs) {
        std::vector<std::string> keys(tabs, "Tab");
        keys.push_back("space");
        Keys(keys);
    }

    // Types the name into the save dialog that the button opened.
    static void SaveAs(const std::string& name) {
        ASSERT_TRUE(WaitUntil([] { return desktop->ActiveWindow() == TavroWindow("Save As"); }))
            << "no save dialog";
        Type(name);
        Keys({"Return"});
    }

    static std::vector<std::string> Opened() {
        std::istringstream lines(ReadFile(tavro->Folder() / "opened.txt"));
        std::vector<std::string> opened;
        for (std::string line; std::getline(lines, line);) {
            opened.push_back(line);
        }
        return opened;
    }

    static std::string Clipboard(const std::string& type) {
        return desktop->Run({"xclip", "-o", "-selection", "clipboard", "-t", type}).output;
    }

    // A Writer window whose name starts with `document`, in front.
    static WindowId ActivateWriter(const std::string& document) {
        WindowId window = 0;
        WaitUntil(
            [&] {
                const auto windows = desktop->Windows(
                    {"--onlyvisible", "--name", "^" + document + ".*LibreOffice Writer"});
                window = windows.empty() ? 0 : windows.front();
                return window != 0;
            },
            kWriterStartTimeout);
        if (window != 0) {
            desktop->Xdotool({"windowactivate", "--sync", std::to_string(window)});
            std::this_thread::sleep_for(std::chrono::seconds(2));  // the document takes the focus
        }
        return window;
    }

    // Copies the whole Writer document in front; its RTF and types.
    static std::string CopyWriterDocument() {
        std::string copied;
        WaitUntil([&] {
            Keys({"Escape", "ctrl+a", "ctrl+c"});
            copied = Clipboard("text/rtf") + Clipboard("TARGETS");
            return !copied.empty();
        });
        return copied;
    }

    static TestDesktop* desktop;
    static TavroProgram* tavro;
    static ChildProcess* writer;
};

TestDesktop* ContentPagesEndToEndTest::desktop = nullptr;
TavroProgram* ContentPagesEndToEndTest::tavro = nullptr;
ChildProcess* ContentPagesEndToEndTest::writer = nullptr;

TEST_F(ContentPagesEndToEndTest, FormattedTextCopiedInWriterIsSavedAndPastedFormatted) {
    ASSERT_NE(ActivateWriter("source"), 0U) << "Writer did not open the document";
    Keys({"ctrl+a", "ctrl+c"});
    ASSERT_TRUE(
        WaitUntil([] { return Clipboard("text/rtf").find("regards") != std::string::npos; }));

    ShowTrigger(kRichTextRow);
    PressButton(kTabsToNewRtf + 1);  // Paste
    SaveAs("signature");
    const fs::path file = tavro->Folder() / "data" / "signature.rtf";
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(file); })) << "nothing was saved";

    // LibreOffice reads the file back with its bold and its colour.
    test::LibreOffice office;
    ASSERT_TRUE(office.Convert({file}, "html:XHTML Writer File:UTF8")) << office.Log();
    const std::string html = ReadFile(office.Folder() / "out" / "signature.html");
    EXPECT_THAT(html, HasSubstr("regards"));
    EXPECT_THAT(html, ContainsRegex("font-weight: *bold"));
    EXPECT_THAT(html, ContainsRegex("color: *#c81e1e"));

    // The trigger typed in another Writer document pastes it formatted.
    Keys({"ctrl+s"});
    ActivateWriter("source");
    Keys({"ctrl+n"});
    ASSERT_NE(ActivateWriter("Untitled"), 0U);
    Type("xrtf");
    std::this_thread::sleep_for(std::chrono::seconds(1));
    std::string rtf;
    WaitUntil([&] { return (rtf = CopyWriterDocument()).find("regards") != std::string::npos; });
    EXPECT_THAT(rtf, HasSubstr("\\b"));
    EXPECT_THAT(rtf, HasSubstr("\\red200\\green30\\blue30"));
    EXPECT_THAT(rtf, Not(HasSubstr("xrtf")));
    const auto stored = test::ReadStoredTriggers(tavro->DatabasePath());
    ASSERT_EQ(stored.size(), 2U);
    EXPECT_EQ(stored[1].ReplaceRTFFile, file.u16string());

    // Edit RTF opens the file in the desktop's program for it.
    const std::size_t before = Opened().size();
    ShowTrigger(kRichTextRow);
    PressButton(kTabsToNewRtf + 1);  // Edit RTF, now that there is a file
    ASSERT_TRUE(WaitUntil([&] { return Opened().size() > before; }));
    EXPECT_EQ(Opened().back(), file.string());
}

TEST_F(ContentPagesEndToEndTest, APictureOnTheClipboardIsSavedAsABitmapAndPastedAsAPicture) {
    // A 30 × 20 PNG, copied by a program of its own.
    QImage logo(30, 20, QImage::Format_RGB32);
    logo.fill(QColor(0x2E, 0x6D, 0xB4));
    const fs::path png = tavro->Folder() / "copied.png";
    ASSERT_TRUE(logo.save(QString::fromStdString(png.string()), "PNG"));
    desktop->SetClipboard(ReadFile(png), "image/png");

    ShowTrigger(kImageRow);
    PressButton(kTabsToNewImage + 1);  // Paste
    SaveAs("logo");
    const fs::path file = tavro->Folder() / "data" / "logo.bmp";
    ASSERT_TRUE(WaitUntil([&] { return fs::exists(file); })) << "nothing was saved";
    EXPECT_EQ(ReadFile(file).substr(0, 2), "BM");

    // Our loader and LibreOffice read it at the same size.
    DesktopPictureLoader loader;
    const std::vector<std::uint8_t> loaded = loader.LoadPicture(file.u16string());
    const auto size = PngSize(loaded);
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->width, 30);
    EXPECT_EQ(size->height, 20);
    // Writer reads pictures a document links to: one that links the file.
    const fs::path document = tavro->Folder() / "data" / "picture.fodt";
    std::ofstream(document) << kPictureDocument;
    test::LibreOffice office;
    ASSERT_TRUE(office.Convert({document}, "pdf")) << office.Log();
    EXPECT_EQ(test::PdfImageSizes(office.Folder() / "out" / "picture.pdf"),
              std::vector<std::string>{"30x20"});

    // Fired into Writer, it arrives as a picture.
    ASSERT_NE(ActivateWriter("Untitled"), 0U);
    Keys({"ctrl+End", "Return"});
    Type("ximg");
    std::this_thread::sleep_for(std::chrono::seconds(1));
    std::string copied;
    WaitUntil([&] {
        copied = CopyWriterDocument();
        return copied.find("\\pict") != std::string::npos;
    });
    EXPECT_THAT(copied, HasSubstr("\\pict"));
    EXPECT_THAT(copied, Not(HasSubstr("ximg")));
}

TEST_F(ContentPagesEndToEndTest, CtrlPWritesThePrintoutAndOpensItOrSaysWhyNot) {
    const fs::path printout = tavro->Folder() / "printout.rtf";
    ShowTrigger(kImageRow);
    const std::size_t before = Opened().size();
    Keys({"ctrl+p"});
    ASSERT_TRUE(WaitUntil([&] { return Opened().size() > before; }));
    EXPECT_EQ(Opened().back(), printout.string());
    EXPECT_THAT(ReadFile(printout), HasSubstr("Signature"));

    // A folder in its place: not even the administrator can write it.
    fs::remove(printout);
    fs::create_directory(printout);
    Keys({"ctrl+p"});
    ASSERT_TRUE(WaitUntil([] { return TavroWindow("Cannot save temporary file") != 0; }))
        << "no message";
    Keys({"Return"});
    ASSERT_TRUE(WaitUntil([] { return TavroWindow("Cannot save temporary file") == 0; }));
    EXPECT_EQ(Opened().size(), before + 1);
    fs::remove(printout);
}

}  // namespace
}  // namespace tavro::e2e
