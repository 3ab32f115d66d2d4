#include <gtest/gtest.h>

#include "richtext/BitmapPictures.h"
#include "richtext/DocumentText.h"
#include "richtext/RichDocumentBuilder.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

namespace tavro {
namespace {

using test::Picture1x1Jpeg;
using test::RichDocumentBuilder;

Document RoundTrip(const Document& document) {
    const RtfReadResult result = ReadRtf(WriteRtf(document));
    EXPECT_TRUE(result.isRtf);
    EXPECT_TRUE(result.problems.empty());
    return result.document;
}

TEST(RtfRoundTrip, KeepsEveryCharacterFormat) {
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

    const Document document = RichDocumentBuilder()
                                  .Font(u"Arial")
                                  .Font(u"Times New Roman")
                                  .Paragraph()
                                  .Text(u"Heading", heading)
                                  .Text(u" small", small)
                                  .Text(u" plain", unnamedFont)
                                  .Build();
    EXPECT_EQ(RoundTrip(document), document);
}

TEST(RtfRoundTrip, KeepsParagraphLayout) {
    ParagraphFormat centered{Alignment::Center, 720, 360, -360};
    ParagraphFormat right{Alignment::Right, 0, 1440, 0};
    ParagraphFormat justified{Alignment::Justify, 0, 0, 720};
    const Document document = RichDocumentBuilder()
                                  .Paragraph(centered)
                                  .Text(u"centred with a hanging indent")
                                  .Paragraph(right)
                                  .Text(u"right")
                                  .Paragraph()  // an empty paragraph in between
                                  .Paragraph(justified)
                                  .Text(u"justified")
                                  .Paragraph()  // an empty last paragraph
                                  .Build();
    EXPECT_EQ(RoundTrip(document), document);
}

TEST(RtfRoundTrip, KeepsTextBeyondAsciiAndCharactersRtfReserves) {
    const std::u16string text =
        u"caf\u00E9 \u20AC \u65E5\u672C \U0001F600 \u00A0 a\\b{c}d;e? \uFFFF"
        u"\ttab" +
        std::u16string(1, kLineBreak) + u"next line";
    const Document document =
        RichDocumentBuilder().Font(u"\u6E38\u660E\u671D; {Odd}").Paragraph().Text(text).Build();
    const std::string rtf = WriteRtf(document);
    for (char c : rtf) {
        ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "the writer's output is 7-bit";
    }
    EXPECT_EQ(RoundTrip(document), document);
    EXPECT_EQ(DocumentText(RoundTrip(document)),
              text.substr(0, text.find(kLineBreak)) + u"\nnext line\n");
}

TEST(RtfRoundTrip, KeepsPicturesWithTheirBytesAndDisplaySize) {
    Picture png = PlaceholderPicture(40, 20);
    png.displayWidth = 1200;
    png.displayHeight = 600;
    const Document document = RichDocumentBuilder()
                                  .Paragraph()
                                  .Text(u"before ")
                                  .Picture(png)
                                  .Picture(Picture1x1Jpeg())
                                  .Text(u" after")
                                  .Build();
    const Document back = RoundTrip(document);
    EXPECT_EQ(back, document);
    EXPECT_EQ(DocumentText(back), u"before [picture 40x20][picture 1x1] after\n");
    EXPECT_NE(WriteRtf(document).find("\\pngblip"), std::string::npos);
}

TEST(RtfRoundTrip, KeepsTableRows) {
    ParagraphFormat row;
    row.tableRow = true;
    ParagraphFormat centredRow = row;
    centredRow.alignment = Alignment::Center;
    CharacterFormat bold;
    bold.bold = true;
    const std::u16string twoLines = u"Name" + std::u16string(1, kLineBreak) + u"Title";
    const Document document = RichDocumentBuilder()
                                  .Paragraph(row)
                                  .Picture(PlaceholderPicture(8, 8))
                                  .Text(u"\t" + twoLines + u"\t")
                                  .Text(u"bold\tlast", bold)
                                  .Paragraph(centredRow)  // an empty row
                                  .Paragraph(row)
                                  .Text(u"ends with an empty cell\t")
                                  .Paragraph()
                                  .Text(u"after the table")
                                  .Build();
    const std::string rtf = WriteRtf(document);
    EXPECT_NE(rtf.find("\\cellx9360"), std::string::npos) << "cells span the text width";
    EXPECT_NE(rtf.find("\\cellx2340"), std::string::npos) << "four equal cells";
    EXPECT_EQ(RoundTrip(document), document);
}

TEST(RtfRoundTrip, EmptyDocumentStaysEmpty) {
    EXPECT_EQ(RoundTrip(Document{}), Document{});
}

}  // namespace
}  // namespace tavro
