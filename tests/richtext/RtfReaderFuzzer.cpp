// libFuzzer target: the reader must take any input without crashing,
// whatever it reads must come back the same through the writer, and its
// HTML may hold no markup but the HTML writer's own.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "richtext/DocumentText.h"
#include "richtext/HtmlMarkupCheck.h"
#include "richtext/HtmlWriter.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const tavro::RtfReadResult result =
        tavro::ReadRtf(std::string_view(reinterpret_cast<const char*>(data), size));
    if (result.isRtf) {
        const tavro::RtfReadResult again = tavro::ReadRtf(tavro::WriteRtf(result.document));
        if (!again.problems.empty() || !(again.document == result.document) ||
            !tavro::test::OnlyWriterMarkup(tavro::WriteHtml(result.document))) {
            __builtin_trap();
        }
        tavro::PlainText(result.document);
    }
    return 0;
}
