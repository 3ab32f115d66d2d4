#include <gtest/gtest.h>

#include "text/LineEnds.h"
#include "text/TextCase.h"
#include "text/Utf8.h"

namespace tavro {
namespace {

TEST(LineEnds, EveryLineEndBecomesOneLineFeedAndOtherTextIsKept) {
    EXPECT_EQ(WithLineFeeds(u"one\r\ntwo\rthree\nfour"), u"one\ntwo\nthree\nfour");
    // An empty line stays one; CR CR LF is two line ends, LF CR too.
    EXPECT_EQ(WithLineFeeds(u"a\r\n\r\nb\r\r\nc\n\r"), u"a\n\nb\n\nc\n\n");
    const std::u16string other = u"tab\there \u2028 \u00E9 \U0001F600 \u0085";
    EXPECT_EQ(WithLineFeeds(other), other);
}

TEST(TextCase, UpperCasesLettersOfTheCommonScripts) {
    EXPECT_EQ(UpperCase(u"abc xyz 123 <enter>"), u"ABC XYZ 123 <ENTER>");
    EXPECT_EQ(UpperCase(u"àéîõüÿ"), u"ÀÉÎÕÜŸ");
    EXPECT_EQ(UpperCase(u"÷ß"), u"÷ß");  // no single-letter capital
    EXPECT_EQ(UpperCase(u"łńźčő"), u"ŁŃŹČŐ");
    EXPECT_EQ(UpperCase(u"ωμέγας ς"), u"ΩΜέΓΑΣ Σ");
    EXPECT_EQ(UpperCase(u"привет ёж"), u"ПРИВЕТ ЁЖ");
}

TEST(TextCase, ComparesIgnoringCaseAndTrimsBlanksOnly) {
    EXPECT_TRUE(EndsWithIgnoringCase(u"hello SiG", u"sig"));
    EXPECT_TRUE(EndsWithIgnoringCase(u"abc<enter>", u"C<ENTER>"));
    EXPECT_FALSE(EndsWithIgnoringCase(u"ig", u"sig"));
    EXPECT_FALSE(EndsWithIgnoringCase(u"sigx", u"sig"));
    EXPECT_TRUE(EqualsIgnoringCase(u"Привет", u"пРИВЕТ"));
    EXPECT_FALSE(EqualsIgnoringCase(u"a", u"ab"));
    EXPECT_EQ(TrimBlanks(u"  Sig - Text  "), u"Sig - Text");
    EXPECT_EQ(TrimBlanks(u"\tSig\n"), u"\tSig\n");
    EXPECT_EQ(TrimBlanks(u"   "), u"");
}

TEST(Utf8, RoundTripsEveryPlaneAndReplacesWhatIsMalformed) {
    const std::u16string text = u"a é € 日本 😀";
    EXPECT_EQ(ToUtf8(text), "a \xC3\xA9 \xE2\x82\xAC \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80");
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf8(std::u16string(1, char16_t{0xD800}) + u"x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(FromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD");            // overlong
    EXPECT_EQ(FromUtf8("a\xE2\x82"), u"a\uFFFD\uFFFD");          // truncated
    EXPECT_EQ(FromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
}

}  // namespace
}  // namespace tavro
