// Interop with a real word processor: LibreOffice, headless. Documents it
// converts to RTF must read right, and the RTF and HTML we write must read
// in it with their text, tables and pictures. The conversions run once, for
// all tests.

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "richtext/Base64.h"
#include "richtext/BitmapPictures.h"
#include "richtext/DocumentText.h"
#include "richtext/HtmlWriter.h"
#include "richtext/RichDocumentBuilder.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "support/Files.h"
#include "support/LibreOffice.h"
#include "text/Utf8.h"

namespace tavro {
namespace {

namespace fs = std::filesystem;
using test::LibreOffice;
using test::ReadFile;
using test::RichDocumentBuilder;
using test::WriteFile;
using x11::test::EnvironmentWith;
using x11::test::RunTool;

class LibreOfficeInterop : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        office_ = new LibreOffice;
        const fs::path folder = office_->Folder();
        // (a) A source in HTML, the simplest format to write that has all of
        // it, and our own HTML, as browsers receive it; LibreOffice Writer
        // turns them into RTF.
        WriteFile(folder / "source.html",
                  "<html><head><meta charset=\"utf-8\"></head><body>"
                  "<h1>Heading One</h1><p>Plain <b>bold</b> <i>italic</i> <u>under</u> "
                  "<span style=\"color:#ff0000\">red</span> "
                  "<span style=\"background:#00ff00\">green</span> "
                  "<font face=\"DejaVu Sans Mono\">mono</font></p>"
                  "<p align=\"center\">Centered</p>"
                  "<table border=\"1\"><tr><td>A1</td><td>B1</td></tr>"
                  "<tr><td>A2</td><td><b>B2</b></td></tr></table>"
                  "<p>Грузия 日本語 Ελληνικά עברית</p>"
                  "<p>pic: <img src=\"data:image/png;base64," +
                      EncodeBase64(PlaceholderPicture(40, 20).data) +
                      "\" width=\"20\" height=\"10\"> end</p></body></html>");
        WriteFile(folder / "ours-page.html", WriteHtml(OurDocument()));
        converted_ = office_->Convert({folder / "source.html", folder / "ours-page.html"}, "rtf",
                                      "HTML (StarWriter)");

        // (b) Our own RTF, printed to PDF and read into HTML.
        WriteFile(folder / "ours.rtf", WriteRtf(OurDocument()));
        exportedPdf_ = office_->Convert({folder / "ours.rtf"}, "pdf");
        exportedHtml_ = office_->Convert({folder / "ours.rtf"}, "html:XHTML Writer File:UTF8");
    }

    static void TearDownTestSuite() { delete office_; }

    // Formatted text in several scripts, characters RTF reserves, pictures,
    // and a signature laid out in a table, with a coloured line after it.
    static Document OurDocument() {
        CharacterFormat bold;
        bold.font = 0;
        bold.bold = true;
        bold.textColor = Color{0, 0, 200};
        CharacterFormat red;
        red.textColor = Color{255, 0, 0};
        Picture placeholder = PlaceholderPicture(40, 20);
        placeholder.displayWidth = 1500;
        placeholder.displayHeight = 750;
        const ParagraphFormat row{Alignment::Left, 0, 0, 0, true};
        return RichDocumentBuilder()
            .Font(u"DejaVu Sans")
            .Paragraph({Alignment::Center, 0, 0, 0})
            .Text(u"Tavro interop", bold)
            .Paragraph()
            .Text(
                u"Caf\u00E9 \u20AC \u0413\u0440\u0443\u0437\u0438\u044F \u65E5\u672C\u8A9E "
                u"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC")
            .Paragraph({Alignment::Left, 720, 0, 0})
            .Text(u"{braces} back\\slash")
            .Paragraph()
            .Text(u"png ")
            .Picture(placeholder)
            .Text(u" jpeg ")
            .Picture(test::Picture1x1Jpeg())
            .Paragraph(row)
            .Picture(PlaceholderPicture(40, 20))
            .Text(u"\tName" + std::u16string(1, kLineBreak) + u"Title\t")
            .Text(u"Phone", bold)
            .Paragraph(row)
            .Text(u"A2\tB2\tC2")
            .Paragraph()
            .Text(u"red <b>not bold</b>", red)
            .Build();
    }

    static Document ReadConverted(const std::string& name) {
        const RtfReadResult result = ReadRtf(ReadFile(office_->Folder() / "out" / name));
        EXPECT_TRUE(result.isRtf) << name;
        EXPECT_TRUE(result.problems.empty()) << name;
        return result.document;
    }

    static const TextRun* FindRun(const Document& document, std::u16string_view text) {
        for (const Paragraph& paragraph : document.paragraphs) {
            for (const tavro::Run& run : paragraph.runs) {
                const auto* textRun = std::get_if<TextRun>(&run);
                if (textRun != nullptr && textRun->text == text) {
                    return textRun;
                }
            }
        }
        return nullptr;
    }

    static inline LibreOffice* office_ = nullptr;
    static inline bool converted_ = false;
    static inline bool exportedPdf_ = false;
    static inline bool exportedHtml_ = false;
};

TEST_F(LibreOfficeInterop, ReadsWhatLibreOfficeWrites) {
    ASSERT_TRUE(converted_) << office_->Log();
    const Document document = ReadConverted("source.rtf");
    EXPECT_EQ(DocumentText(document),
              u"Heading One\nPlain bold italic under red green mono\nCentered\nA1\tB1\nA2\tB2\n"
              u"\u0413\u0440\u0443\u0437\u0438\u044F \u65E5\u672C\u8A9E "
              u"\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC "
              u"\u05E2\u05D1\u05E8\u05D9\u05EA\npic: [picture 40x20] end\n");
    const TextRun* heading = FindRun(document, u"Heading One");
    ASSERT_NE(heading, nullptr);
    EXPECT_TRUE(heading->format.bold);
    EXPECT_GT(heading->format.halfPoints, 24);
    for (const char16_t* text :
         {u"Plain ", u"bold", u"italic", u"under", u"red", u"green", u"mono", u"B2"}) {
        ASSERT_NE(FindRun(document, text), nullptr) << ToUtf8(text);
    }
    EXPECT_TRUE(FindRun(document, u"bold")->format.bold);
    EXPECT_TRUE(FindRun(document, u"italic")->format.italic);
    EXPECT_TRUE(FindRun(document, u"under")->format.underline);
    EXPECT_FALSE(FindRun(document, u"Plain ")->format.bold);
    EXPECT_EQ(FindRun(document, u"red")->format.textColor, (Color{255, 0, 0}));
    EXPECT_EQ(FindRun(document, u"green")->format.backgroundColor, (Color{0, 255, 0}));
    const int mono = FindRun(document, u"mono")->format.font;
    ASSERT_GE(mono, 0);
    EXPECT_EQ(document.fonts.at(static_cast<std::size_t>(mono)), u"DejaVu Sans Mono");
    EXPECT_EQ(document.paragraphs.at(2).format.alignment, Alignment::Center);
    EXPECT_TRUE(FindRun(document, u"B2")->format.bold);
    const Paragraph& last = document.paragraphs.back();
    ASSERT_EQ(last.runs.size(), 3u);
    const auto& picture = std::get<Picture>(last.runs[1]);
    EXPECT_EQ(picture.format, PictureFormat::Png);
    EXPECT_EQ(picture.displayWidth, 300);
    EXPECT_EQ(picture.displayHeight, 150);
}

TEST_F(LibreOfficeInterop, LibreOfficeReadsOurHtml) {
    ASSERT_TRUE(converted_) << office_->Log();
    const Document document = ReadConverted("ours-page.rtf");
    EXPECT_EQ(ToUtf8(DocumentText(document)), ToUtf8(DocumentText(OurDocument())));
    const auto rows = std::count_if(document.paragraphs.begin(), document.paragraphs.end(),
                                    [](const Paragraph& p) { return p.format.tableRow; });
    EXPECT_EQ(rows, 2);
    ASSERT_NE(FindRun(document, u"Phone"), nullptr);
    EXPECT_TRUE(FindRun(document, u"Phone")->format.bold);
    ASSERT_NE(FindRun(document, u"red <b>not bold</b>"), nullptr);
    EXPECT_EQ(FindRun(document, u"red <b>not bold</b>")->format.textColor, (Color{255, 0, 0}));
    EXPECT_FALSE(FindRun(document, u"red <b>not bold</b>")->format.bold);
}

TEST_F(LibreOfficeInterop, LibreOfficeReadsOurTableRowsAsATable) {
    ASSERT_TRUE(exportedHtml_) << office_->Log();
    const std::string html = ReadFile(office_->Folder() / "out" / "ours.html");
    const std::size_t table = html.find("<table");
    ASSERT_NE(table, std::string::npos) << html;
    const auto count = [&](std::string_view tag) {
        int found = 0;
        for (std::size_t at = html.find(tag, table); at != std::string::npos;
             at = html.find(tag, at + 1)) {
            ++found;
        }
        return found;
    };
    EXPECT_EQ(count("<tr"), 2);
    EXPECT_EQ(count("<td"), 6);
    EXPECT_NE(html.find("Name<br/>Title"), std::string::npos) << html;
}

TEST_F(LibreOfficeInterop, LibreOfficePrintsOurTextAndPictures) {
    ASSERT_TRUE(exportedPdf_) << office_->Log();
    const std::string pdf = (office_->Folder() / "out" / "ours.pdf").string();
    EXPECT_EQ(test::PdfImageSizes(pdf), (std::vector<std::string>{"40x20", "1x1", "40x20"}));

    const auto text = RunTool({"pdftotext", pdf, "-"}, EnvironmentWith({}));
    ASSERT_EQ(text.exitCode, 0);
    for (const char* words : {"Tavro interop", "Café € Грузия 日本語 Ελληνικά",
                              "{braces} back\\slash", "png", "jpeg", "Phone", "A2"}) {
        EXPECT_NE(text.output.find(words), std::string::npos) << words << "\n" << text.output;
    }
}

}  // namespace
}  // namespace tavro
