#include <gtest/gtest.h>

#include "richtext/BitmapPictures.h"
#include "richtext/DocumentText.h"
#include "richtext/RichDocumentBuilder.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

namespace tavro {
namespace {

using test::RichDocumentBuilder;

const std::u16string kBreak(1, kLineBreak);

// A document with every character format, paragraph layout, kind of
// character, picture and table row the reader knows comes back the same
// through the writer, which writes 7-bit RTF.
TEST(RtfRoundTrip, KeepsEverythingTheReaderKnows) {
    CharacterFormat heading;
    heading.font = 1;
    heading.halfPoints = 40;
    heading.bold = heading.italic = heading.underline = heading.strike = true;
    heading.textColor = Color{200, 10, 20};
    heading.backgroundColor = Color{255, 255, 0};
    CharacterFormat small;
    small.font = 0;
    small.halfPoints = 14;
    small.textColor = Color{0, 0, 0};  // black, not the automatic colour
    CharacterFormat unnamedFont;       // no font of its own
    unnamedFont.backgroundColor = Color{200, 10, 20};
    Picture png = PlaceholderPicture(40, 20);
    png.displayWidth = 1200;
    png.displayHeight = 600;
    const ParagraphFormat row{Alignment::Left, 0, 0, 0, true};
    const ParagraphFormat centredRow{Alignment::Center, 0, 0, 0, true};

    const Document document =
        RichDocumentBuilder()
            .Font(u"Arial")
            .Font(u"\u6E38\u660E\u671D; {Odd}")
            .Paragraph({Alignment::Center, 720, 360, -360})
            .Text(u"Heading", heading)
            .Text(u" small", small)
            .Text(u" plain", unnamedFont)
            .Paragraph({Alignment::Right, 0, 1440, 0})
            .Text(u"caf\u00E9 \u20AC \u65E5\u672C \U0001F600 \u00A0 a\\b{c}d;e? \uFFFF\ttab" +
                  kBreak + u"next line")
            .Paragraph()  // an empty paragraph in between
            .Paragraph({Alignment::Justify, 0, 0, 720})
            .Text(u"before ")
            .Picture(png)
            .Picture(test::Picture1x1Jpeg())
            .Paragraph(row)
            .Picture(PlaceholderPicture(8, 8))
            .Text(u"\tName" + kBreak + u"Title\t")
            .Text(u"bold\tlast", heading)
            .Paragraph(centredRow)  // an empty row
            .Paragraph(row)
            .Text(u"ends with an empty cell\t")
            .Paragraph()  // an empty last paragraph
            .Build();
    const std::string rtf = WriteRtf(document);
    for (char c : rtf) {
        ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "the writer's output is 7-bit";
    }
    EXPECT_NE(rtf.find("\\pngblip"), std::string::npos);
    EXPECT_NE(rtf.find("\\cellx2340"), std::string::npos) << "four equal cells over the width";
    const RtfReadResult back = ReadRtf(rtf);
    EXPECT_TRUE(back.isRtf);
    EXPECT_TRUE(back.problems.empty());
    EXPECT_EQ(back.document, document);
    EXPECT_EQ(ReadRtf(WriteRtf(Document{})).document, Document{});
}

TEST(PlainText, SeparatesParagraphsAndLinesWithLineFeedsAndLeavesPicturesOut) {
    const ParagraphFormat row{Alignment::Left, 0, 0, 0, true};
    const Document document = RichDocumentBuilder()
                                  .Paragraph()
                                  .Picture(PlaceholderPicture(8, 8))
                                  .Text(u"Best" + kBreak + u"John")
                                  .Paragraph()
                                  .Paragraph(row)
                                  .Text(u"Phone\t555")
                                  .Build();
    EXPECT_EQ(PlainText(document), u"Best\nJohn\n\nPhone\t555");
    EXPECT_EQ(DocumentText(document), u"[picture 16x16]Best\nJohn\n\nPhone\t555\n");
    EXPECT_EQ(PlainText(Document{}), u"");
    EXPECT_EQ(PlainText(RichDocumentBuilder().Paragraph().Paragraph().Build()), u"\n");
}

}  // namespace
}  // namespace tavro
