// The printed legend in a real word processor: the printout of a table of
// every type, with pictures read by the desktop's loader, turned into a PDF
// by LibreOffice, headless, holds every line in order and every picture.

#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/DesktopPictureLoader.h"
#include "legend/LegendComposer.h"
#include "legend/LegendPrinter.h"
#include "legend/LegendSample.h"
#include "richtext/DocumentText.h"
#include "richtext/RtfReader.h"
#include "store/TriggerTable.h"
#include "support/Files.h"
#include "support/LibreOffice.h"
#include "text/Utf8.h"

namespace tavro {
namespace {

namespace fs = std::filesystem;
using test::LibreOffice;
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
        const fs::path program = office_->Folder() / "program";
        TriggerTable triggers;
        test::FillLegendSample(triggers, program);
        DesktopPictureLoader pictures;
        printout_ = LegendFilePath(program);
        ASSERT_TRUE(SaveLegend(ComposeLegend(triggers, program, pictures), printout_));
        converted_ = office_->Convert({printout_}, "pdf");
    }

    static void TearDownTestSuite() { delete office_; }

    static fs::path Pdf() { return office_->Folder() / "out" / "printout.pdf"; }

    static inline LibreOffice* office_ = nullptr;
    static inline fs::path printout_;
    static inline bool converted_ = false;
};

TEST_F(LegendInterop, ThePdfHoldsEveryLineInOrder) {
    ASSERT_TRUE(converted_) << office_->Log();
    const RtfReadResult printout = ReadRtf(test::ReadFile(printout_));
    ASSERT_TRUE(printout.isRtf);
    std::vector<std::string> expected;
    for (const std::string& line : TextLines(ToUtf8(DocumentText(printout.document)))) {
        if (!line.starts_with("[picture ")) {
            expected.push_back(line);
        }
    }
    ASSERT_GT(expected.size(), 60u);
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
