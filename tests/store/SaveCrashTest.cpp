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

constexpr int kTriggers = 20;
constexpr std::size_t kTextLength = 20000;

class SaveCrashTest : public test::StoreFixture, public ::testing::Test {
  protected:
    // Saves one of two complete sets of triggers, 'A' or 'B'.
    void SaveSet(char set) {
        for (int slot = 0; slot < kTriggers; ++slot) {
            TriggerRecord& record = triggers.Slot(slot);
            record.Trigger = {static_cast<char16_t>(set), static_cast<char16_t>(u'a' + slot)};
            record.Display = record.Trigger;
            record.ReplaceText = std::u16string(kTextLength, static_cast<char16_t>(set));
            record.Type = u"Text";
        }
        triggers.TriggerCount = kTriggers;
        ASSERT_TRUE(store.SaveTriggers());
    }
};

// A save killed at any moment, in a child saving the two sets in turn,
// leaves the complete old or the complete new set, in a file that opens.
// The kills land anywhere within a few saves' time, however fast saving is
// in this build.
TEST_F(SaveCrashTest, AKilledSaveLeavesTheOldOrTheNewSet) {
    const auto started = std::chrono::steady_clock::now();
    SaveSet('B');
    SaveSet('A');
    const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(
        (std::chrono::steady_clock::now() - started) / 2);
    std::mt19937 random(12345);
    std::uniform_int_distribution<long> delay(0, 4 * saveTime.count());
    std::set<char> seen;
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (char set = 'B';; set = set == 'B' ? 'A' : 'B') {
                SaveSet(set);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);

        const auto rows = StoredColumn("SELECT Trigger FROM tblTriggers");
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(kTriggers));
        const char set = rows.front()[0];
        for (const std::string& trigger : rows) {
            ASSERT_EQ(trigger[0], set) << "a mixture";
        }
        const auto texts = StoredColumn("SELECT DISTINCT ReplaceText FROM tblTriggers");
        ASSERT_EQ(texts.size(), 1U);
        ASSERT_EQ(texts.front(), std::string(kTextLength, set));
        seen.insert(set);
    }
    store.LoadTriggers();
    EXPECT_EQ(triggers.TriggerCount, kTriggers);
    EXPECT_EQ(seen.size(), 2U) << "the kills should land at different moments";
}

}  // namespace
}  // namespace tavro
