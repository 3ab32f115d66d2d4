#include <string>

#include <gtest/gtest.h>

#include "richtext/DocumentText.h"
#include "richtext/RichDocumentBuilder.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "text/Utf8.h"

namespace tavro {
namespace {

using test::RichDocumentBuilder;

bool HasProblemMentioning(const RtfReadResult& result, std::string_view word) {
    for (const std::string& problem : result.problems) {
        if (problem.find(word) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(RtfHostileInput, AMillionNestedBracesNeitherOverflowNorLoseTheText) {
    const std::size_t depth = 1'000'000;
    const std::string rtf =
        "{\\rtf1 start" + std::string(depth, '{') + "deep" + std::string(depth, '}') + " end}";
    const RtfReadResult result = ReadRtf(rtf);
    EXPECT_EQ(DocumentText(result.document), u"startdeep end\n");
    EXPECT_TRUE(HasProblemMentioning(result, "nested"));

    // Unclosed, and inside a skipped destination.
    EXPECT_EQ(DocumentText(ReadRtf("{\\rtf1 x" + std::string(depth, '{')).document), u"x\n");
    EXPECT_EQ(DocumentText(ReadRtf("{\\rtf1 x{\\*\\skip" + std::string(depth, '{') +
                                   std::string(depth + 1, '}') + "y}")
                               .document),
              u"xy\n");
}

// Broken documents read as far as they go, and say what was wrong.
TEST(RtfHostileInput, BrokenDocumentsReadWhatTheyCanAndSayWhy) {
    struct Case {
        std::string rtf;
        std::u16string text;
        std::string problem;  // a word of the problem reported, if any
    };
    const Case cases[] = {
        {"{\\rtf1 {\\b one\\par two", u"one\ntwo\n", "truncated"},
        {"{\\rtf1 one}} two}", u"one\n", ""},  // nothing after the document's group
        {"{\\rtf1 a{\\pict\\pngblip\\bin2000000000 abc}}", u"a[picture 16x16]\n", "\\bin"},
        {"{\\rtf1 \\bin99 x}", u"", "\\bin"},
        {"{\\rtf1 a\\'zzb\\'4}", u"azzb\n", "hexadecimal"},
        {"{\\rtf1 {\\pict\\pngblip 89 5x0 4e g47}}", u"[picture 16x16]\n", "hexadecimal"},
        // A DIB header declaring 1000 x 1000 pixels over 4 bytes of pixels, a
        // device bitmap short of rows, and PNG and JPEG data that is not one.
        {"{\\rtf1 {\\pict\\dibitmap0\\picw50\\pich40 "
         "28000000e8030000e803000001001800000000000000000000000000000000000000000000000000"
         "ffffffff}{\\pict\\wbitmap0\\wbmbitspixel1\\wbmwidthbytes2\\picw16\\pich100 ffff}"
         "{\\pict\\pngblip\\picwgoal3000\\pichgoal1500 0102030405}{\\pict\\jpegblip ffd8ffd9}}",
         u"[picture 50x40][picture 16x100][picture 200x100][picture 16x16]\n", "placeholder"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rtf);
        const RtfReadResult result = ReadRtf(c.rtf);
        EXPECT_EQ(ToUtf8(DocumentText(result.document)), ToUtf8(c.text));
        EXPECT_TRUE(c.problem.empty() || HasProblemMentioning(result, c.problem));
    }
}

TEST(RtfHostileInput, EveryTruncationOfARealDocumentReads) {
    const std::string rtf = WriteRtf(RichDocumentBuilder()
                                         .Font(u"Arial")
                                         .Paragraph()
                                         .Text(u"caf\u00E9 {x}")
                                         .Picture(test::Picture1x1Jpeg())
                                         .Paragraph({Alignment::Center, 10, 0, 0})
                                         .Text(u"end")
                                         .Build());
    for (std::size_t length = 0; length <= rtf.size(); ++length) {
        EXPECT_EQ(ReadRtf(std::string_view(rtf).substr(0, length)).isRtf, length >= 5);
    }
}

TEST(RtfHostileInput, EnormousNumbersSaturate) {
    const RtfReadResult result = ReadRtf(
        "{\\rtf1\\uc99999999999999999999\\fs99999999999999999999999999\\li-99999999999999999 x"
        "\\u99999999999 y\\cf12345678901234567890 z\\f-99999999999 w"
        "{\\pict\\pngblip\\picwgoal999999999999\\picscalex99999999999 00}}");
    ASSERT_EQ(result.document.paragraphs.size(), 1u);
    const Paragraph& paragraph = result.document.paragraphs[0];
    EXPECT_EQ(paragraph.format.leftIndent, -1'000'000);
    const auto& first = std::get<TextRun>(paragraph.runs.at(0));
    EXPECT_EQ(first.text, u"x\uFFFDzw") << "y was the fallback of the \\u";
    EXPECT_EQ(first.format.halfPoints, 3276);
    EXPECT_EQ(std::get<Picture>(paragraph.runs.back()).displayWidth, 1'000'000);
}

}  // namespace
}  // namespace tavro
