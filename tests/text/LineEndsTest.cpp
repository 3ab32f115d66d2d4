#include "text/LineEnds.h"

#include <gtest/gtest.h>

namespace tavro {
namespace {

TEST(LineEnds, EveryLineEndBecomesOneLineFeed) {
    EXPECT_EQ(WithLineFeeds(u"one\r\ntwo\rthree\nfour"), u"one\ntwo\nthree\nfour");
    // An empty line stays one; CR CR LF is two line ends.
    EXPECT_EQ(WithLineFeeds(u"a\r\n\r\nb\r\r\nc"), u"a\n\nb\n\nc");
    EXPECT_EQ(WithLineFeeds(u"\r"), u"\n");
    EXPECT_EQ(WithLineFeeds(u"end\r\n"), u"end\n");
    EXPECT_EQ(WithLineFeeds(u"\n\r"), u"\n\n");
    EXPECT_EQ(WithLineFeeds(u""), u"");
}

TEST(LineEnds, OtherTextIsKept) {
    const std::u16string text = u"tab\there \u2028 \u00E9 \U0001F600 \u0085";
    EXPECT_EQ(WithLineFeeds(text), text);
}

}  // namespace
}  // namespace tavro
