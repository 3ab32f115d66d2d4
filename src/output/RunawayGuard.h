#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>

namespace tavro {

// The last line of defence against a trigger that fires itself again without
// end (a replacement that types its own trigger, on a platform that took the
// program's keys for the user's): a trigger that fires more often than
// anyone can type it is stopped for the rest of the run.
class RunawayGuard {
  public:
    static constexpr int kMostFiringsPerSecond = 10;

    enum class Verdict {
        Fire,
        // This firing stops the trigger: say so.
        JustStopped,
        // Stopped before.
        Stopped,
    };

    // Judges a firing of the trigger at `now` (milliseconds); a firing that
    // is refused does not count.
    Verdict CheckFiring(const std::u16string& trigger, std::uint64_t now);

  private:
    struct Firings {
        std::deque<std::uint64_t> recent;
        bool stopped = false;
    };

    // By trigger text in upper case: slots move when the table is reloaded.
    std::map<std::u16string, Firings> triggers_;
};

}  // namespace tavro
