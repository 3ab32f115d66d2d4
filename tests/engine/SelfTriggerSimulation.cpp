#include "engine/SelfTriggerSimulation.h"

#include <algorithm>
#include <random>
#include <vector>

#include "support/FakeEngine.h"
#include "text/Utf8.h"

namespace tavro::test {

namespace {

constexpr std::u16string_view kTriggerKeys = u"asdfq;.";
constexpr int kUserSteps = 80;
// Enough rounds of echo for any replacement that does not loop; a loop is
// cut off here and shows as too many firings.
constexpr int kEchoRounds = 40;
// A fast typist: no trigger fires faster than the runaway guard allows.
constexpr std::uint64_t kMillisecondsPerUserKey = 150;

class Simulation {
  public:
    explicit Simulation(std::uint32_t seed) : random_(seed) {
        fixture_.keyboard.SetEchoSentKeys(true);
        fixture_.engine.Applications().SendKeyApps = {u"Mousepad"};
    }

    SelfTriggerRun Run() {
        MakeTriggers();
        for (int step = 0; step < kUserSteps; ++step) {
            Act();
        }
        DeliverAllSentKeys();
        // Typed after everything has come back, a trigger fires once: the
        // shortest, in which no other trigger can end.
        const std::u16string& last = *std::min_element(
            triggers_.begin(), triggers_.end(),
            [](const std::u16string& a, const std::u16string& b) { return a.size() < b.size(); });
        const int before = Firings();
        UserTypes(u' ');
        for (char16_t key : last) {
            UserTypes(key);
        }
        DeliverAllSentKeys();
        run_.lastTriggerFiredOnce = Firings() == before + 1;
        run_.firings = Firings();
        run_.messages = static_cast<int>(fixture_.log.CallsStartingWith({"MessageBox"}).size());
        return run_;
    }

  private:
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    char16_t AnyTriggerKey() { return kTriggerKeys[Pick(static_cast<int>(kTriggerKeys.size()))]; }

    // Two to four triggers of one to three keys, none the end of another
    // (that would open the choice menu), each with a replacement of one to
    // four pieces: a trigger, a trigger key, a capital or a character
    // without a key.
    void MakeTriggers() {
        const int count = 2 + Pick(3);
        while (static_cast<int>(triggers_.size()) < count) {
            std::u16string trigger;
            for (int length = 1 + Pick(3); length > 0; --length) {
                trigger += AnyTriggerKey();
            }
            if (std::none_of(triggers_.begin(), triggers_.end(), [&](const std::u16string& other) {
                    return other.ends_with(trigger) || trigger.ends_with(other);
                })) {
                triggers_.push_back(trigger);
            }
        }
        for (const std::u16string& trigger : triggers_) {
            std::u16string replacement;
            for (int piece = 1 + Pick(4); piece > 0; --piece) {
                const int kind = Pick(4);
                replacement += kind < 2       ? triggers_[static_cast<std::size_t>(Pick(count))]
                               : kind == 2    ? std::u16string(1, AnyTriggerKey())
                               : Pick(2) == 0 ? u"X"
                                              : u"\u00e9";
            }
            fixture_.AddTrigger(trigger, trigger, u"Text", replacement);
            run_.description += ToUtf8(trigger) + " -> " + ToUtf8(replacement) + "; ";
        }
    }

    // One step of the user, or of the keyboard hook reporting what the
    // program sent: in order, lost, or out of order.
    void Act() {
        const std::size_t waiting = fixture_.keyboard.SentKeysWaiting();
        const int action = Pick(20);
        if (action < 8) {
            // Usually the next key of a trigger the user is typing.
            if (typing_.empty() && Pick(3) > 0) {
                typing_ =
                    triggers_[static_cast<std::size_t>(Pick(static_cast<int>(triggers_.size())))];
            }
            if (typing_.empty()) {
                UserTypes(Pick(4) == 0 ? u' ' : AnyTriggerKey());
            } else {
                UserTypes(typing_.front());
                typing_.erase(0, 1);
            }
        } else if (action < 15 || waiting == 0) {
            fixture_.keyboard.DeliverSentKeys(1 + Pick(6));
        } else if (action < 17) {
            fixture_.keyboard.DropSentKey(
                static_cast<std::size_t>(Pick(static_cast<int>(waiting))));
        } else if (action < 19) {
            fixture_.keyboard.DeliverSentKey(
                static_cast<std::size_t>(Pick(static_cast<int>(waiting))));
        } else {
            fixture_.engine.Timer1_Timer();
        }
    }

    void UserTypes(char16_t key) {
        if (std::any_of(triggers_.begin(), triggers_.end(),
                        [key](const std::u16string& trigger) { return trigger.back() == key; })) {
            ++run_.userTriggerEnds;
        }
        fixture_.desktop.AdvanceTickCount(kMillisecondsPerUserKey);
        fixture_.keyboard.Type(std::u16string(1, key));
    }

    void DeliverAllSentKeys() {
        for (int round = 0; round < kEchoRounds && fixture_.keyboard.DeliverSentKeys(1000) > 0;
             ++round) {
        }
    }

    int Firings() const {
        return static_cast<int>(fixture_.log.CallsStartingWith({"ShowTrigger"}).size());
    }

    std::mt19937 random_;
    FakeEngine fixture_;
    std::vector<std::u16string> triggers_;
    std::u16string typing_;
    SelfTriggerRun run_;
};

}  // namespace

SelfTriggerRun RunSelfTriggerSimulation(std::uint32_t seed) {
    return Simulation(seed).Run();
}

}  // namespace tavro::test
