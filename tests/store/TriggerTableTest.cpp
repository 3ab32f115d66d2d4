#include "store/TriggerTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "StoreFixture.h"

namespace tavro {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TriggerTable TableOf(int count) {
    TriggerTable table;
    for (int slot = 0; slot < count; ++slot) {
        table.Slot(slot).Trigger = u"t" + std::u16string(1, static_cast<char16_t>(u'0' + slot));
        table.Slot(slot).Display = u"Name";
        table.Slot(slot).Type = u"Text";
    }
    table.TriggerCount = count;
    return table;
}

TEST(TriggerTable, RefusesToDeleteTheLastTrigger) {
    fake::FakePlatform platform;
    TriggerTable table = TableOf(1);

    EXPECT_FALSE(table.DeleteTrigger(0, platform.desktop));

    EXPECT_EQ(table.Slot(0).Trigger, u"t0");
    EXPECT_THAT(platform.log.Calls(), ElementsAre(test::kCannotDeleteLast));

    // A new trigger without its text does not count for the last one.
    table = TableOf(2);
    table.Slot(1).Trigger.clear();
    EXPECT_FALSE(table.DeleteTrigger(0, platform.desktop));
    EXPECT_EQ(table.Slot(0).Trigger, u"t0");
    EXPECT_TRUE(table.DeleteTrigger(1, platform.desktop));  // leaves t0
}

TEST(TriggerTable, DeletingEmptiesOnlyTheTriggerTextAndKeepsTheCount) {
    fake::FakePlatform platform;
    TriggerTable table = TableOf(5);
    EXPECT_TRUE(table.DeleteTrigger(3, platform.desktop));
    EXPECT_EQ(table.TriggerCount, 5);
    EXPECT_EQ(table.Slot(3).Trigger, u"");
    EXPECT_EQ(table.Slot(3).Display, u"Name");
    EXPECT_THAT(platform.log.Calls(), IsEmpty());
}

TEST(TriggerTable, ClearingEmptiesEverySlotButKeepsCountAndCurrent) {
    TriggerTable table = TableOf(4);
    table.CurrentTrigger = 2;
    table.Slot(20).CommandLine = u"x";

    table.ClearTriggers();

    for (int slot = 0; slot < kTriggerSlots; ++slot) {
        EXPECT_EQ(table.Slot(slot), TriggerRecord{}) << slot;
    }
    EXPECT_EQ(table.TriggerCount, 4);
    EXPECT_EQ(table.CurrentTrigger, 2);
}

TEST(TriggerTable, KeepsSlotIndicesWithinTheTable) {
    TriggerTable table;
    EXPECT_THROW(table.Slot(21), std::out_of_range);
    EXPECT_THROW(table.Slot(-1), std::out_of_range);
    table.TriggerCount = 40;
    EXPECT_EQ(table.UsedSlots(), kTriggerSlots);
    table.TriggerCount = -3;
    EXPECT_EQ(table.UsedSlots(), 0);
}

}  // namespace
}  // namespace tavro
