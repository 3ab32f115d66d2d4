#include "richtext/RtfReader.h"

#include <gtest/gtest.h>

#include "richtext/DocumentText.h"
#include "richtext/ImageSize.h"
#include "text/Utf8.h"

namespace tavro {
namespace {

Document Read(std::string_view rtf) {
    RtfReadResult result = ReadRtf(rtf);
    EXPECT_TRUE(result.isRtf);
    EXPECT_TRUE(result.problems.empty()) << result.problems.front();
    return std::move(result.document);
}

std::u16string TextOf(std::string_view rtf) {
    return DocumentText(Read(rtf));
}

const TextRun& RunAt(const Document& document, std::size_t paragraph, std::size_t run) {
    return std::get<TextRun>(document.paragraphs.at(paragraph).runs.at(run));
}

const Picture& PictureAt(const Document& document, std::size_t paragraph, std::size_t run) {
    return std::get<Picture>(document.paragraphs.at(paragraph).runs.at(run));
}

// Characters: bytes in the document's and the fonts' code pages, \u with
// the fallbacks \uc says to skip, destinations that are not text, breaks,
// escapes and the text of table rows.
TEST(RtfReader, ReadsTheTextOfEveryKindOfCharacter) {
    const std::pair<std::string_view, std::u16string_view> cases[] = {
        {R"({\rtf1\ansi \'80 caf\'e9 \'93q\'94})", u"\u20AC caf\u00E9 \u201Cq\u201D\n"},
        {R"({\rtf1\ansi\ansicpg1251 \'cf\'f0\'e8})", u"\u041F\u0440\u0438\n"},
        // A Cyrillic font in a Western document, and a Japanese one with
        // double-byte characters, as older word processors write them.
        {R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0 Arial;}{\f1\fcharset204 Arial Cyr;})"
         R"({\f2\fcharset128 MS Mincho;}}\f1 \'cf\'f0 \f0 \'e9 \f2 \'82\'a0\'82\'a2})",
         u"\u041F\u0440 \u00E9 \u3042\u3044\n"},
        {"{\\rtf1\\ansi caf\xe9}", u"caf\u00E9\n"},  // 8-bit bytes written raw
        {R"({\rtf1 \u1043?\u-3913?x})", u"\u0413\uF0B7x\n"},
        {R"({\rtf1\uc2 \u26085\'93\'fa!})", u"\u65E5!\n"},
        {R"({\rtf1\uc0 \u26085 !})", u"\u65E5!\n"},
        {R"({\rtf1 {\uc3 \u26085 abc}\u26085 de})", u"\u65E5\u65E5e\n"},  // \uc in its group
        {R"({\rtf1\uc1 \u26085\par next})", u"\u65E5\nnext\n"},           // a control word ends it
        {R"({\rtf1 {\upr{ansi text}{\*\ud{\u26085 ?}}}})", u"\u65E5\n"},
        {R"({\rtf1 a{\*\unknown {b{c}\bin3 }}}}}d{\info{\title t}}e})", u"ade\n"},
        {R"({\rtf1 {\header h}{\footnote f}{\*\bkmkstart x}one {\v hidden}two})", u"one two\n"},
        {R"({\rtf1 see {\field{\*\fldinst HYPERLINK "https://x.test"}{\fldrslt here}}.})",
         u"see here.\n"},
        {"{\\rtf1 a\\line b\\tab c\\\nd\\emdash\\~\\_\\{\\}\\\\\\bullet\\-e}",
         u"a\nb\tc\nd\u2014\u00A0\u2011{}\\\u2022e\n"},
        {R"({\rtf1 \trowd\cellx100\cellx200\pard\intbl A1\cell B1\cell\row)"
         R"(\trowd\cellx100\cellx200\pard\intbl A2\cell\cell\row\pard after\par})",
         u"A1\tB1\nA2\t\nafter\n"},
        {R"({\rtf1 one\par\par three\par})", u"one\n\nthree\n"},
        {R"({\rtf1 one\par\sect\page two})", u"one\ntwo\n"}};
    for (const auto& [rtf, text] : cases) {
        SCOPED_TRACE(rtf);
        EXPECT_EQ(ToUtf8(TextOf(rtf)), ToUtf8(std::u16string(text)));
    }
    EXPECT_EQ(Read("{\\rtf1 line\\line}").paragraphs.at(0).runs.size(), 1u);
}

TEST(RtfReader, ScopesFormattingToGroupsAndResetsOnPlainAndPard) {
    const Document document =
        Read(R"({\rtf1{\fonttbl{\f0 Arial;}}\b bold {\i both\ul under} bold\plain\fs30 plain\b0)"
             R"(\uldb x\ulnone y\strike z\strike0\par\qr\li100 one\par two\pard\par three})");
    ASSERT_EQ(document.paragraphs.at(0).runs.size(), 8u);
    const auto run = [&](std::size_t i) { return RunAt(document, 0, i); };
    EXPECT_EQ(run(0).text, u"bold ");
    EXPECT_TRUE(run(1).format.italic);
    EXPECT_TRUE(run(2).format.underline);
    EXPECT_EQ(run(3).text, u" bold");
    EXPECT_TRUE(run(3).format.bold);
    EXPECT_FALSE(run(3).format.italic);
    EXPECT_EQ(run(4).text, u"plain");
    EXPECT_EQ(run(4).format.halfPoints, 30);
    EXPECT_FALSE(run(4).format.bold);
    EXPECT_EQ(run(4).format.font, 0) << "\\plain returns to the default font";
    EXPECT_TRUE(run(5).format.underline);  // \uldb
    EXPECT_FALSE(run(6).format.underline);
    EXPECT_EQ(run(7).text, u"z");
    EXPECT_TRUE(run(7).format.strike);

    const ParagraphFormat rightIndented{Alignment::Right, 100, 0, 0};
    EXPECT_EQ(document.paragraphs.at(1).format, rightIndented);
    EXPECT_EQ(document.paragraphs.at(2).format, ParagraphFormat{}) << "\\pard before its \\par";
    EXPECT_EQ(document.paragraphs.at(3).format, ParagraphFormat{});
}

TEST(RtfReader, KeepsTableRowsWithTheParagraphsOfTheirCells) {
    // As word processors write a table: a cell of two paragraphs, a row
    // closed in a group of its own, then a paragraph after the table.
    const Document document = Read(
        R"({\rtf1 \trowd\cellx2000\cellx4000\pard\intbl\qc Name\par Title\cell )"
        R"(\pard\intbl {\b Phone:\tab 555}\cell {\trowd\cellx2000\cellx4000\row }\pard after\tab tab\par})");
    ASSERT_EQ(document.paragraphs.size(), 2u);
    const Paragraph& row = document.paragraphs[0];
    EXPECT_TRUE(row.format.tableRow);
    EXPECT_EQ(row.format.alignment, Alignment::Left) << "the last cell's layout";
    ASSERT_EQ(row.runs.size(), 2u);
    EXPECT_EQ(std::get<TextRun>(row.runs[0]).text, u"Name\u2028Title\t");
    EXPECT_EQ(std::get<TextRun>(row.runs[1]).text, u"Phone: 555") << "a tab in a cell: a blank";
    EXPECT_FALSE(document.paragraphs[1].format.tableRow);
    EXPECT_EQ(DocumentText(document), u"Name\nTitle\tPhone: 555\nafter\ttab\n");

    // \pard ends the table's paragraphs even without a \row, and a \row
    // makes a row without \intbl.
    const Document loose = Read(R"({\rtf1 \intbl a\par\pard b\par c\cell d\row})");
    ASSERT_EQ(loose.paragraphs.size(), 2u);
    EXPECT_EQ(std::get<TextRun>(loose.paragraphs[0].runs[0]).text, u"a\u2028b");
    EXPECT_FALSE(loose.paragraphs[0].format.tableRow);
    EXPECT_TRUE(loose.paragraphs[1].format.tableRow);
    EXPECT_EQ(std::get<TextRun>(loose.paragraphs[1].runs[0]).text, u"c\td");
}

TEST(RtfReader, TellsAutomaticColourFromTheTablesFirstEntry) {
    const Document document =
        Read(R"({\rtf1{\colortbl\red1\green2\blue3;\red9\green9\blue9;}a\cf0 b\cf1 c\cf7 d})");
    EXPECT_FALSE(RunAt(document, 0, 0).format.textColor.has_value());
    EXPECT_EQ(RunAt(document, 0, 1).format.textColor, (Color{1, 2, 3}));
    EXPECT_EQ(RunAt(document, 0, 2).format.textColor, (Color{9, 9, 9}));
    EXPECT_FALSE(RunAt(document, 0, 3).format.textColor.has_value()) << "no entry 7";
}

// Windows bitmaps become PNG; a metafile, which cannot be drawn, a
// placeholder of its size.
TEST(RtfReader, TurnsWindowsBitmapsIntoPngAndMetafilesIntoPlaceholders) {
    // A 2 x 2 DIB, 24 bits, bottom row first (blue, white), then (red, black).
    const std::string png =
        std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x14\0\0\0\n\b\x02\0\0\0", 29) +
        std::string(47, '}');  // braces: \bin data is not parsed
    const Document document = Read(
        "{\\rtf1{\\pict\\dibitmap0\\picw2\\pich2\\picwgoal600\\pichgoal300\\picscalex50 "
        "28000000020000000200000001001800000000001000000000000000000000000000000000000000"
        "ff0000ffffff0000 0000ff0000000000}"
        "{\\pict\\wbitmap0\\wbmbitspixel1\\wbmplanes1\\wbmwidthbytes2\\picw16\\pich2 ff00 00ff}"
        "{\\pict\\pngblip\\bin76 " +
        png + "}{\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal1440\\pichgoal720 010009}}");
    EXPECT_EQ(DocumentText(document),
              u"[picture 2x2][picture 16x2][picture 20x10][picture 96x48]\n");
    const Picture& dib = PictureAt(document, 0, 0);
    EXPECT_EQ(dib.format, PictureFormat::Png);
    EXPECT_TRUE(PngSize(dib.data).has_value());
    EXPECT_EQ(dib.displayWidth, 300);
    EXPECT_EQ(dib.displayHeight, 300);
    EXPECT_EQ(PictureAt(document, 0, 2).data.size(), 76u);
    const Picture& placeholder = PictureAt(document, 0, 3);
    EXPECT_EQ(placeholder.format, PictureFormat::Png);
    EXPECT_EQ(placeholder.displayWidth, 1440);
}

TEST(RtfReader, RejectsWhatIsNotRtf) {
    EXPECT_FALSE(ReadRtf("").isRtf);
    EXPECT_FALSE(ReadRtf("Hello {\\rtf1}").isRtf);
    EXPECT_FALSE(ReadRtf("\x89PNG\r\n").isRtf);
    EXPECT_TRUE(ReadRtf("\r\n {\\rtf1 x}").isRtf);
}

}  // namespace
}  // namespace tavro
