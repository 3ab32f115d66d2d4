#include "text/LineEnds.h"

#include <gtest/gtest.h>

namespace tavro {
namespace {

TEST(LineEnds, EveryLineEndBecomesOneLineFeedAndOtherTextIsKept) {
    EXPECT_EQ(WithLineFeeds(u"one\r\ntwo\rthree\nfour"), u"one\ntwo\nthree\nfour");
    // An empty line stays one; CR CR LF is two line ends, LF CR too.
    EXPECT_EQ(WithLineFeeds(u"a\r\n\r\nb\r\r\nc\n\r"), u"a\n\nb\n\nc\n\n");
    const std::u16string other = u"tab\there \u2028 \u00E9 \U0001F600 \u0085";
    EXPECT_EQ(WithLineFeeds(other), other);
}

}  // namespace
}  // namespace tavro
