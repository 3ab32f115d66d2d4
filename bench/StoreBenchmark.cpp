#include <benchmark/benchmark.h>

#include "store/StoreFixture.h"

namespace {

using tavro::test::StoreFixture;

// A full table: 21 triggers with 1 MB replacement texts each.
void FillWithLargeTriggers(StoreFixture& fixture) {
    for (int slot = 0; slot < tavro::kTriggerSlots; ++slot) {
        tavro::TriggerRecord& record = fixture.triggers.Slot(slot);
        record.Trigger = u"t" + std::u16string(1, static_cast<char16_t>(u'a' + slot));
        record.Display = record.Trigger;
        record.Type = u"Text";
        record.ReplaceText = std::u16string(1024 * 1024, static_cast<char16_t>(u'a' + slot));
    }
    fixture.triggers.TriggerCount = tavro::kTriggerSlots;
}

void BM_SaveFullTableOfLargeTexts(benchmark::State& state) {
    StoreFixture fixture;
    FillWithLargeTriggers(fixture);
    for (auto _ : state) {
        if (!fixture.store.SaveTriggers()) {
            state.SkipWithError("save failed");
        }
    }
}
BENCHMARK(BM_SaveFullTableOfLargeTexts)->Unit(benchmark::kMillisecond);

void BM_LoadFullTableOfLargeTexts(benchmark::State& state) {
    StoreFixture fixture;
    FillWithLargeTriggers(fixture);
    fixture.store.SaveTriggers();
    for (auto _ : state) {
        fixture.store.LoadTriggers();
    }
    if (fixture.triggers.TriggerCount != tavro::kTriggerSlots) {
        state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_LoadFullTableOfLargeTexts)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
