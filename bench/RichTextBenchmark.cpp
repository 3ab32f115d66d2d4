#include <benchmark/benchmark.h>

#include <string>

#include "richtext/BitmapPictures.h"
#include "richtext/DocumentText.h"
#include "richtext/HtmlWriter.h"
#include "richtext/RtfReader.h"

namespace {

// About 20 MB shaped like what word processors save: a font and colour
// table, a style sheet, paragraphs of runs in groups of their own with
// formatting, \u escapes with fallbacks, a table, and (unless text only)
// pictures as hex \pngblip data beside a \nonshppict twin that readers skip.
std::string RealWorldLikeDocument(bool withPictures) {
    std::string rtf =
        "{\\rtf1\\ansi\\deff3\\adeflang1025\n"
        "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New "
        "Roman;}{\\f3\\froman\\fprq2\\fcharset0 "
        "DejaVu Serif;}{\\f5\\fnil\\fprq0\\fcharset0 Courier New;}}\n"
        "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}\n"
        "{\\stylesheet{\\s0\\snext0\\rtlch\\af6\\afs24 \\ltrch\\hich\\af3\\loch\\f3\\fs24 Normal;}"
        "{\\s1\\sbasedon0\\snext16\\b\\fs48 Heading 1;}}{\\*\\generator Writer}\n";
    std::string hex;
    const tavro::Picture picture = tavro::PlaceholderPicture(120, 90);
    static constexpr char kDigits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < picture.data.size(); ++i) {
        hex += kDigits[picture.data[i] >> 4];
        hex += kDigits[picture.data[i] & 0xF];
        if (i % 64 == 63) {
            hex += '\n';
        }
    }
    const std::string paragraph =
        "\\par \\pard\\plain \\s16\\loch\\sl276\\slmult1\\sb0\\sa140\\ql\\ltrpar{\\loch\n"
        "Plain text of an ordinary paragraph, long enough to wrap over a line or two, }"
        "{\\loch\\b\\loch bold words}{\\loch  and }{\\loch\\i\\loch italic words}{\\loch , "
        "then }{\\loch\\cf2\\loch red}{\\loch  and }{\\hich\\af5\\loch\\fs20\\f5\\loch code}"
        "{\\loch , a caf\\u233\\'3f, and \\u1043\\'3f\\u1088\\'3f\\u1091\\'3f\\u1079\\'3f.}\n";
    const std::string table =
        "\\par \\trowd\\trql\\ltrrow\\cellx4819\\cellx9638\\pard\\plain \\s20\\intbl\\ql{\\loch "
        "A1}\\cell\\pard\\plain \\s20\\intbl\\ql{\\loch B1}\\cell\\row\\pard\n";
    const std::string pictureGroup =
        "\\par \\pard\\plain \\s16\\ql{\\loch\n{\\*\\shppict{\\pict{\\*\\picprop{\\sp{\\sn wzName}"
        "{\\sv }}}\\picscalex100\\picscaley100\\picw120\\pich90\\picwgoal1800\\pichgoal1350"
        "\\pngblip\n" +
        hex + "}}{\\nonshppict{\\pict\\picw120\\pich90\\wmetafile8\n" + hex.substr(0, 2000) +
        "}}}\n";
    while (rtf.size() < 20u << 20) {
        for (int i = 0; i < 40; ++i) {
            rtf += paragraph;
        }
        rtf += table;
        if (withPictures) {
            rtf += pictureGroup;
        }
    }
    rtf += "\\par }";
    return rtf;
}

void BM_ReadRealWorldLikeDocument(benchmark::State& state) {
    const std::string rtf = RealWorldLikeDocument(state.range(0) != 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(tavro::ReadRtf(rtf));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(rtf.size()));
}
BENCHMARK(BM_ReadRealWorldLikeDocument)
    ->ArgName("pictures")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);

// What a program that reads no RTF waits for the first time it asks for the
// HTML or the text of rich text on the clipboard: reading the markup and
// writing both.
void BM_HtmlAndTextFromRtf(benchmark::State& state) {
    const std::string rtf = RealWorldLikeDocument(state.range(0) != 0);
    for (auto _ : state) {
        const tavro::Document document = tavro::ReadRtf(rtf).document;
        benchmark::DoNotOptimize(tavro::WriteHtml(document));
        benchmark::DoNotOptimize(tavro::PlainText(document));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(rtf.size()));
}
BENCHMARK(BM_HtmlAndTextFromRtf)
    ->ArgName("pictures")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
