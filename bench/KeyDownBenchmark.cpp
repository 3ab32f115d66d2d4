#include <benchmark/benchmark.h>

#include <string>

#include "support/FakeEngine.h"

namespace {

using tavro::test::FakeEngine;

// One key-down through capture and matching, against a full table of 21
// triggers that never match and a key buffer that is already full.
void BM_KeyDownThroughCaptureAndMatching(benchmark::State& state) {
    FakeEngine fixture;
    for (int slot = 0; slot < tavro::kTriggerSlots; ++slot) {
        fixture.AddTrigger(u"qz" + std::u16string(1, static_cast<char16_t>(u'a' + slot)) + u"xq",
                           u"Trigger");
    }
    fixture.log.SetRecording(false);
    fixture.keyboard.Type(u"the quick brown fox jumps over the lazy dog, again and again");
    constexpr std::uint32_t kKeyA = 'A';
    for (auto _ : state) {
        fixture.keyboard.KeyDown(kKeyA, 0x1E);
    }
    benchmark::DoNotOptimize(fixture.KeyBuffer());
}
BENCHMARK(BM_KeyDownThroughCaptureAndMatching);

}  // namespace

BENCHMARK_MAIN();
