#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <set>
#include <thread>

#include "StoreFixture.h"

namespace tavro {
namespace {

using test::StoreFixture;

constexpr int kTriggers = 20;
constexpr std::size_t kTextLength = 20000;

// Fills the table with one of two complete sets of triggers.
void FillSet(TriggerTable& table, char set) {
    for (int slot = 0; slot < kTriggers; ++slot) {
        TriggerRecord& record = table.Slot(slot);
        record.Trigger =
            std::u16string(1, static_cast<char16_t>(set)) + static_cast<char16_t>(u'a' + slot);
        record.Display = record.Trigger;
        record.ReplaceText = std::u16string(kTextLength, static_cast<char16_t>(set));
        record.Type = u"Text";
    }
    table.TriggerCount = kTriggers;
}

class SaveCrashTest : public StoreFixture, public ::testing::Test {};

// A save killed at any moment leaves the complete old or the complete new
// set of triggers, in a file that opens.
TEST_F(SaveCrashTest, AKilledSaveLeavesTheOldOrTheNewSet) {
    FillSet(triggers, 'A');
    ASSERT_TRUE(store.SaveTriggers());
    // Kills land anywhere within a few saves' time, however fast saving is
    // in this build.
    const auto started = std::chrono::steady_clock::now();
    FillSet(triggers, 'B');
    ASSERT_TRUE(store.SaveTriggers());
    FillSet(triggers, 'A');
    ASSERT_TRUE(store.SaveTriggers());
    const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(
                              std::chrono::steady_clock::now() - started) /
                          2;
    std::mt19937 random(12345);
    std::uniform_int_distribution<long> delay(0, 4 * saveTime.count());
    std::set<char> seen;
    for (int round = 0; round < 40; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (char set = 'B';; set = set == 'B' ? 'A' : 'B') {
                FillSet(triggers, set);
                store.SaveTriggers();
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);

        const auto rows = StoredColumn("SELECT Trigger FROM tblTriggers");
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(kTriggers)) << "round " << round;
        for (const std::string& trigger : rows) {
            ASSERT_EQ(trigger[0], rows.front()[0]) << "a mixture in round " << round;
        }
        const auto texts = StoredColumn("SELECT DISTINCT ReplaceText FROM tblTriggers");
        ASSERT_EQ(texts.size(), 1U);
        ASSERT_EQ(texts.front(), std::string(kTextLength, rows.front()[0]));
        seen.insert(rows.front()[0]);
    }
    store.LoadTriggers();
    EXPECT_EQ(triggers.TriggerCount, kTriggers);
    EXPECT_EQ(seen.size(), 2U) << "the kills should land at different moments";
}

}  // namespace
}  // namespace tavro
