// The printed legend in a real word processor: File > Print Triggers writes
// printout.rtf for a table of every type, with pictures read by the
// desktop's loader; LibreOffice, headless, turns it into a PDF that holds
// every line in order and every picture.

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/DesktopPictureLoader.h"
#include "legend/LegendPrinter.h"
#include "legend/LegendSample.h"
#include "platform/fake/FakePlatform.h"
#include "richtext/DocumentText.h"
#include "richtext/RtfReader.h"
#include "store/TriggerTable.h"
#include "support/Files.h"
#include "support/LibreOffice.h"
#include "text/Utf8.h"
#include "window/WindowOperations.h"

namespace tavro {
namespace {

namespace fs = std::filesystem;
using test::LibreOffice;
using test::ReadFile;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// The lines that hold more than blanks, without trailing blanks and page
// breaks.
std::vector<std::string> TextLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        line.erase(0, line.find_first_not_of('\f'));
        line.erase(line.find_last_not_of(" \f") + 1);
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

class LegendInterop : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        office_ = new LibreOffice;
        const fs::path program = ProgramFolder();
        TriggerTable triggers;
        test::FillLegendSample(triggers, program);

        fake::FakePlatform platform;
        platform.windows.SetMainWindow(100);
        platform.windows.SetProgramFolder(program.u16string());
        WindowOperations operations(platform.windows, platform.windows, platform.windows);
        DesktopPictureLoader pictures;
        LegendPrinter({operations, platform.desktop, pictures}, program).mnuPrint(triggers);
        calls_ = platform.log.CallsStartingWith({"ShellExecuteA", "MessageBox"});
        converted_ = office_->Convert({program / "printout.rtf"}, "pdf");
    }

    static void TearDownTestSuite() { delete office_; }

    static fs::path ProgramFolder() { return office_->Folder() / "program"; }
    static fs::path Pdf() { return office_->Folder() / "out" / "printout.pdf"; }

    static inline LibreOffice* office_ = nullptr;
    static inline std::vector<std::string> calls_;
    static inline bool converted_ = false;
};

TEST_F(LegendInterop, PrintingSavesThePrintoutAndOpensIt) {
    const std::u16string file = (ProgramFolder() / "printout.rtf").u16string();
    EXPECT_THAT(calls_, ElementsAre(fake::FormatCall(
                            "ShellExecuteA",
                            {"100", fake::Quoted(u"Open"), fake::Quoted(file), fake::Quoted(u""),
                             fake::Quoted(ProgramFolder().u16string()), "1"})));
}

TEST_F(LegendInterop, ThePdfHoldsEveryLineInOrder) {
    ASSERT_TRUE(converted_) << office_->Log();
    const RtfReadResult printout = ReadRtf(ReadFile(ProgramFolder() / "printout.rtf"));
    ASSERT_TRUE(printout.isRtf);
    std::vector<std::string> expected;
    for (const std::string& line : TextLines(ToUtf8(DocumentText(printout.document)))) {
        if (!line.starts_with("[picture ")) {
            expected.push_back(line);
        }
    }
    // What the legend must say, in this order, among its other lines.
    const std::string data = (ProgramFolder() / "data").string();
    const std::vector<std::string> landmarks = {
        "Tavro! Legend",
        "Trigger: ;todo",
        "Image: " + data + "/stripes.bmp",
        "Image: " + data + "/lost.png",
        "***** Image File does not exist *****",
        "Image: C:\\Users\\anna\\Tavro\\data\\photo.jpg",
        "Launch: galculator",
        "Rich Text File: " + data + "/letter.rtf",
        "Dear customer,",
        "Thank you for your order. It ships today.",
        "Kind regards",
        "Alternate Text: Dear customer,",
        "thank you for your order.",
        "***** Rich Text File does not exist *****",
        "Text: Tavro Ltd.",
        "1 Main Street",
        "Text: Image: " + data + "/logo.gif",
        "Trigger: none",
        "Trigger: ;sig",
    };
    auto from = expected.begin();
    for (const std::string& landmark : landmarks) {
        from = std::find(from, expected.end(), landmark);
        ASSERT_NE(from, expected.end()) << landmark;
    }

    const auto text =
        x11::test::RunTool({"pdftotext", Pdf().string(), "-"}, x11::test::EnvironmentWith({}));
    ASSERT_EQ(text.exitCode, 0);
    EXPECT_THAT(TextLines(text.output), ElementsAreArray(expected));
}

TEST_F(LegendInterop, ThePdfHoldsEveryPicture) {
    ASSERT_TRUE(converted_) << office_->Log();
    // The bitmap, the GIF, the JPEG found in the data folder, the PNG.
    EXPECT_THAT(test::PdfImageSizes(Pdf()), ElementsAre("64x32", "160x48", "120x80", "96x48"));
}

}  // namespace
}  // namespace tavro
