#include "richtext/RtfReader.h"

#include <gtest/gtest.h>

#include "richtext/DocumentText.h"
#include "richtext/ImageSize.h"

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

// Trimmed from what LibreOffice Writer saves: a style sheet, generator and
// info groups, associated fonts, runs in groups of their own, \u with \'3f
// fallbacks, and a picture as \shppict with a \nonshppict metafile twin.
constexpr std::string_view kWriterDocument = R"({\rtf1\ansi\deff3\adeflang1025
{\fonttbl{\f0\froman\fprq2\fcharset0 Times New Roman;}{\f3\froman\fprq2\fcharset0 DejaVu Serif;}{\f5\fnil\fprq0\fcharset0 Courier New;}}
{\colortbl;\red0\green0\blue0;\red255\green0\blue0;\red0\green255\blue0;}
{\stylesheet{\s0\snext0\rtlch\af6\afs24 \ltrch\hich\af3\loch\f3\fs24 Normal;}
{\s1\sbasedon15\snext16\b Heading 1;}}{\*\generator LibreOffice/7.4.7.2$Linux_X86_64}{\info{\creatim\yr0\mo0\dy0\hr0\min0}}
\pard\plain \s1\rtlch\af6\afs48\ab \ltrch\hich\af3\loch\ilvl0\outlinelevel0\sb240\sa120\keepn\f3\fs48\b\dbch\af6\ql\sb240\sa120\ltrpar{\loch
Heading One}
\par \pard\plain \s16\loch\sl276\slmult1\qc\ltrpar{\loch
Plain }{\loch\b\loch
bold}{\loch
 }{\loch\ul\ulc0\loch
under}{\loch
 }{\loch\cf2\loch
red}{\loch
 }{\loch\chcbpat3\loch
green}{\loch
 }{\hich\af5\loch\fs36\f5\loch
courier}
\par \pard\plain {\loch
\u1043\'3f\u1088\'3f }{\dbch
\u26085\'3f\u26412\'3f}
\par \pard\plain {\loch
pic: }{\loch
{\*\shppict{\pict{\*\picprop{\sp{\sn wzName}{\sv }}}\picscalex100\picscaley100\picw20\pich10\picwgoal300\pichgoal150\pngblip
89504e470d0a1a0a0000000d49484452000000140000000a08020000003b37e9b10000001549444154789c63f8cfc04036225fe7a8e611a319003144c73974da
8b110000000049454e44ae426082}}{\nonshppict{\pict\picw20\pich10\picwgoal300\pichgoal150\wmetafile8
0100090000}}}{\loch
 end}
\par })";

TEST(RtfReader, ReadsWhatLibreOfficeWrites) {
    const Document document = Read(kWriterDocument);
    EXPECT_EQ(document.fonts,
              (std::vector<std::u16string>{u"Times New Roman", u"DejaVu Serif", u"Courier New"}));
    EXPECT_EQ(DocumentText(document),
              u"Heading One\nPlain bold under red green courier\n\u0413\u0440 \u65E5\u672C\n"
              u"pic: [picture 20x10] end\n");

    const TextRun& heading = RunAt(document, 0, 0);
    EXPECT_TRUE(heading.format.bold);
    EXPECT_EQ(heading.format.halfPoints, 48);
    EXPECT_EQ(document.fonts.at(static_cast<std::size_t>(heading.format.font)), u"DejaVu Serif");

    const Paragraph& styled = document.paragraphs.at(1);
    EXPECT_EQ(styled.format.alignment, Alignment::Center);
    EXPECT_EQ(std::get<TextRun>(styled.runs.at(0)).text, u"Plain ");
    EXPECT_FALSE(std::get<TextRun>(styled.runs.at(0)).format.bold);  // \plain reset the heading
    EXPECT_TRUE(RunAt(document, 1, 1).format.bold);
    EXPECT_TRUE(RunAt(document, 1, 3).format.underline);
    EXPECT_EQ(RunAt(document, 1, 5).format.textColor, (Color{255, 0, 0}));
    EXPECT_EQ(RunAt(document, 1, 7).format.backgroundColor, (Color{0, 255, 0}));
    EXPECT_FALSE(RunAt(document, 1, 0).format.textColor.has_value());
    EXPECT_EQ(RunAt(document, 1, 9).format.halfPoints, 36);
    EXPECT_EQ(document.fonts.at(static_cast<std::size_t>(RunAt(document, 1, 9).format.font)),
              u"Courier New");

    const Picture& picture = PictureAt(document, 3, 1);
    EXPECT_EQ(picture.format, PictureFormat::Png);
    EXPECT_EQ(picture.data.size(), 78u);
    EXPECT_EQ(picture.displayWidth, 300);
    EXPECT_EQ(picture.displayHeight, 150);
    EXPECT_EQ(document.paragraphs.at(3).runs.size(), 3u) << "the metafile twin is skipped";
}

TEST(RtfReader, DecodesBytesInTheDocumentsAndTheFontsCodePage) {
    EXPECT_EQ(TextOf(R"({\rtf1\ansi \'80 caf\'e9 \'93q\'94})"),
              u"\u20AC caf\u00E9 \u201Cq\u201D\n");
    EXPECT_EQ(TextOf(R"({\rtf1\ansi\ansicpg1251 \'cf\'f0\'e8})"), u"\u041F\u0440\u0438\n");
    // A Cyrillic font in a Western document, and a Japanese one with
    // double-byte characters, as older word processors write them.
    EXPECT_EQ(TextOf(R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0 Arial;}{\f1\fcharset204 Arial Cyr;})"
                     R"({\f2\fcharset128 MS Mincho;}}\f1 \'cf\'f0 \f0 \'e9 \f2 \'82\'a0\'82\'a2})"),
              u"\u041F\u0440 \u00E9 \u3042\u3044\n");
    // 8-bit bytes written raw instead of as \'hh.
    EXPECT_EQ(TextOf("{\\rtf1\\ansi caf\xe9}"), u"caf\u00E9\n");
}

TEST(RtfReader, SkipsUnicodeFallbacksAsUcSays) {
    EXPECT_EQ(TextOf(R"({\rtf1 \u1043?\u-3913?x})"), u"\u0413\uF0B7x\n");
    EXPECT_EQ(TextOf(R"({\rtf1\uc2 \u26085\'93\'fa!})"), u"\u65E5!\n");
    EXPECT_EQ(TextOf(R"({\rtf1\uc0 \u26085 !})"), u"\u65E5!\n");
    EXPECT_EQ(TextOf(R"({\rtf1 {\uc3 \u26085 abc}\u26085 de})"), u"\u65E5\u65E5e\n")
        << "\\uc is scoped to its group";
    EXPECT_EQ(TextOf(R"({\rtf1\uc1 \u26085\par next})"), u"\u65E5\nnext\n")
        << "a control word ends the fallback early";
    EXPECT_EQ(TextOf(R"({\rtf1 {\upr{ansi text}{\*\ud{\u26085 ?}}}})"), u"\u65E5\n");
}

TEST(RtfReader, SkipsDestinationsThatAreNotText) {
    EXPECT_EQ(TextOf(R"({\rtf1 a{\*\unknown {b{c}\bin3 }}}}}d{\info{\title t}}e})"), u"ade\n");
    EXPECT_EQ(TextOf(R"({\rtf1 {\header h}{\footnote f}{\*\bkmkstart x}one {\v hidden}two})"),
              u"one two\n");
    EXPECT_EQ(
        TextOf(R"({\rtf1 see {\field{\*\fldinst HYPERLINK "https://x.test"}{\fldrslt here}}.})"),
        u"see here.\n");
}

TEST(RtfReader, ScopesFormattingToGroupsAndResetsOnPlainAndPard) {
    const Document document =
        Read(R"({\rtf1{\fonttbl{\f0 Arial;}}\b bold {\i both\ul under} bold\plain\fs30 plain\b0)"
             R"(\uldb x\ulnone y\strike z\strike0\par\qr\li100 one\par two\pard\par three})");
    const auto& runs = document.paragraphs.at(0).runs;
    ASSERT_EQ(runs.size(), 8u);
    EXPECT_EQ(std::get<TextRun>(runs[0]).text, u"bold ");
    EXPECT_TRUE(std::get<TextRun>(runs[1]).format.italic);
    EXPECT_TRUE(std::get<TextRun>(runs[2]).format.underline);
    EXPECT_EQ(std::get<TextRun>(runs[3]).text, u" bold");
    EXPECT_TRUE(std::get<TextRun>(runs[3]).format.bold);
    EXPECT_FALSE(std::get<TextRun>(runs[3]).format.italic);
    const TextRun& plain = std::get<TextRun>(runs[4]);
    EXPECT_EQ(plain.text, u"plain");
    EXPECT_EQ(plain.format.halfPoints, 30);
    EXPECT_FALSE(plain.format.bold);
    EXPECT_EQ(plain.format.font, 0) << "\\plain returns to the default font";
    EXPECT_TRUE(std::get<TextRun>(runs[5]).format.underline);  // \uldb
    EXPECT_FALSE(std::get<TextRun>(runs[6]).format.underline);
    EXPECT_EQ(std::get<TextRun>(runs[7]).text, u"z");
    EXPECT_TRUE(std::get<TextRun>(runs[7]).format.strike);

    const ParagraphFormat rightIndented{Alignment::Right, 100, 0, 0};
    EXPECT_EQ(document.paragraphs.at(1).format, rightIndented);
    EXPECT_EQ(document.paragraphs.at(2).format, ParagraphFormat{}) << "\\pard before its \\par";
    EXPECT_EQ(document.paragraphs.at(3).format, ParagraphFormat{});
}

TEST(RtfReader, ReadsBreaksCharactersAndTables) {
    EXPECT_EQ(TextOf("{\\rtf1 a\\line b\\tab c\\\nd\\emdash\\~\\_\\{\\}\\\\\\bullet\\-e}"),
              u"a\nb\tc\nd\u2014\u00A0\u2011{}\\\u2022e\n");
    EXPECT_EQ(TextOf(R"({\rtf1 \trowd\cellx100\cellx200\pard\intbl A1\cell B1\cell\row)"
                     R"(\trowd\cellx100\cellx200\pard\intbl A2\cell\cell\row\pard after\par})"),
              u"A1\tB1\nA2\t\nafter\n");
    EXPECT_EQ(Read("{\\rtf1 line\\line}").paragraphs.at(0).runs.size(), 1u);
    EXPECT_EQ(TextOf(R"({\rtf1 one\par\par three\par})"), u"one\n\nthree\n");
    EXPECT_EQ(TextOf(R"({\rtf1 one\par\sect\page two})"), u"one\ntwo\n");
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

TEST(RtfReader, TurnsWindowsBitmapsIntoPng) {
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
        png + "}}");
    const Picture& dib = PictureAt(document, 0, 0);
    EXPECT_EQ(dib.format, PictureFormat::Png);
    EXPECT_EQ(dib.width, 2);
    EXPECT_EQ(dib.height, 2);
    EXPECT_TRUE(PngSize(dib.data).has_value());
    EXPECT_EQ(dib.displayWidth, 300);
    EXPECT_EQ(dib.displayHeight, 300);
    const Picture& mono = PictureAt(document, 0, 1);
    EXPECT_EQ(mono.width, 16);
    EXPECT_EQ(mono.height, 2);
    const Picture& binary = PictureAt(document, 0, 2);
    EXPECT_EQ(binary.width, 20);
    EXPECT_EQ(binary.data.size(), 76u);
}

TEST(RtfReader, ShowsMetafilesAsPlaceholdersOfTheirSize) {
    const Document document =
        Read(R"({\rtf1 a{\pict\wmetafile8\picw2540\pich1270\picwgoal1440\pichgoal720 010009}b})");
    const Picture& placeholder = PictureAt(document, 0, 1);
    EXPECT_EQ(placeholder.format, PictureFormat::Png);
    EXPECT_EQ(placeholder.width, 96);
    EXPECT_EQ(placeholder.height, 48);
    EXPECT_EQ(placeholder.displayWidth, 1440);
    EXPECT_EQ(DocumentText(document), u"a[picture 96x48]b\n");
}

TEST(RtfReader, RejectsWhatIsNotRtf) {
    EXPECT_FALSE(ReadRtf("").isRtf);
    EXPECT_FALSE(ReadRtf("Hello {\\rtf1}").isRtf);
    EXPECT_FALSE(ReadRtf("\x89PNG\r\n").isRtf);
    EXPECT_TRUE(ReadRtf("\r\n {\\rtf1 x}").isRtf);
}

}  // namespace
}  // namespace tavro
