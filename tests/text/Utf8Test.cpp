#include "text/Utf8.h"

#include <gtest/gtest.h>

namespace tavro {
namespace {

TEST(Utf8, RoundTripsEveryPlane) {
    const std::u16string text = u"a é € 日本 😀";
    EXPECT_EQ(ToUtf8(text), "a \xC3\xA9 \xE2\x82\xAC \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80");
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
}

TEST(Utf8, ReplacesWhatIsMalformed) {
    EXPECT_EQ(ToUtf8(std::u16string(1, char16_t{0xD800}) + u"x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(FromUtf8("\xC0\xAF"), u"\uFFFD\uFFFD");            // overlong
    EXPECT_EQ(FromUtf8("a\xE2\x82"), u"a\uFFFD\uFFFD");          // truncated
    EXPECT_EQ(FromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
}

}  // namespace
}  // namespace tavro
