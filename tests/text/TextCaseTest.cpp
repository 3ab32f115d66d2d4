#include "text/TextCase.h"

#include <gtest/gtest.h>

namespace tavro {
namespace {

TEST(TextCase, UpperCasesLettersOfTheCommonScripts) {
    EXPECT_EQ(UpperCase(u"abc xyz 123 <enter>"), u"ABC XYZ 123 <ENTER>");
    EXPECT_EQ(UpperCase(u"àéîõüÿ"), u"ÀÉÎÕÜŸ");
    EXPECT_EQ(UpperCase(u"÷ß"), u"÷ß");  // no single-letter capital
    EXPECT_EQ(UpperCase(u"łńźčő"), u"ŁŃŹČŐ");
    EXPECT_EQ(UpperCase(u"ωμέγας ς"), u"ΩΜέΓΑΣ Σ");
    EXPECT_EQ(UpperCase(u"привет ёж"), u"ПРИВЕТ ЁЖ");
}

TEST(TextCase, ComparesIgnoringCase) {
    EXPECT_TRUE(EndsWithIgnoringCase(u"hello SiG", u"sig"));
    EXPECT_TRUE(EndsWithIgnoringCase(u"abc<enter>", u"C<ENTER>"));
    EXPECT_FALSE(EndsWithIgnoringCase(u"ig", u"sig"));
    EXPECT_FALSE(EndsWithIgnoringCase(u"sigx", u"sig"));
    EXPECT_TRUE(EqualsIgnoringCase(u"Привет", u"пРИВЕТ"));
    EXPECT_FALSE(EqualsIgnoringCase(u"a", u"ab"));
}

TEST(TextCase, TrimsBlanksOnly) {
    EXPECT_EQ(TrimBlanks(u"  Sig - Text  "), u"Sig - Text");
    EXPECT_EQ(TrimBlanks(u"\tSig\n"), u"\tSig\n");
    EXPECT_EQ(TrimBlanks(u"   "), u"");
}

}  // namespace
}  // namespace tavro
