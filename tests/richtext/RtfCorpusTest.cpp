#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "richtext/DocumentText.h"
#include "richtext/HtmlMarkupCheck.h"
#include "richtext/HtmlWriter.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"
#include "support/Files.h"

namespace tavro {
namespace {

// Replays the inputs the fuzzer kept (tests/richtext/corpus): each must
// read without a crash, what is read must come back the same through the
// writer, and its HTML may hold no markup but the writer's own, as the fuzz
// target demands.
TEST(RtfFuzzCorpus, EveryInputReadsAndRoundTrips) {
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TAVRO_RICHTEXT_CORPUS)) {
        const std::string input = test::ReadFile(entry.path());
        const RtfReadResult result = ReadRtf(input);
        if (result.isRtf) {
            const RtfReadResult again = ReadRtf(WriteRtf(result.document));
            EXPECT_TRUE(again.problems.empty()) << entry.path();
            EXPECT_EQ(again.document, result.document) << entry.path();
            EXPECT_TRUE(test::OnlyWriterMarkup(WriteHtml(result.document))) << entry.path();
            PlainText(result.document);
        }
        ++files;
    }
    EXPECT_GT(files, 100u);
}

}  // namespace
}  // namespace tavro
