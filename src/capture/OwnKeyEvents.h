#pragma once

#include <cstdint>
#include <deque>

namespace tavro {

// The key-downs the program has sent and not yet seen come back through the
// keyboard hook, in the order it sent them. Lets the capture tell its own
// synthetic keys from the user's.
class OwnKeyEvents {
  public:
    void ExpectKeyDown(std::uint32_t keyCode);
    // A key-down whose key code the platform chooses (a character typed
    // through a key the layout does not have).
    void ExpectAnyKeyDown();

    // Whether the key-down is one the program sent; if so it is taken off the
    // list. Sent key-downs the hook never reported (lost events) are skipped
    // when a later one of them arrives.
    bool TakeOwnKeyDown(std::uint32_t keyCode);

    // Called every timer period: key-downs that have waited two whole
    // periods with nothing coming back are taken as lost.
    void OnTimerTick();

    bool Empty() const { return pending_.empty(); }

  private:
    std::deque<std::uint32_t> pending_;
    bool activeSinceTick_ = false;
    int idleTicks_ = 0;
};

}  // namespace tavro
