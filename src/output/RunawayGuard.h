#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>

namespace tavro {

// The last line of defence against a trigger that fires itself again without
// end (a replacement that types its own trigger, on a platform that took the
// program's keys for the user's): a trigger that fires more often than
// anyone can type it, each time on what the firing before typed, is stopped
// for the rest of the run.
//
// Every firing clears the key buffer, so a firing that no key of the user
// caused has its whole trigger in the text the firing before typed. Only
// such firings count: a program that types triggers at machine speed
// (automation, a remote desktop) fires them as often as it types them.
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
    // The text a firing typed as keystrokes ("" for one that typed none).
    void NoteTyped(const std::u16string& text);

  private:
    struct Firings {
        std::deque<std::uint64_t> recent;
        bool stopped = false;
    };

    // By trigger text in upper case: slots move when the table is reloaded.
    std::map<std::u16string, Firings> triggers_;
    // What the last firing typed, in upper case.
    std::u16string lastTyped_;
};

}  // namespace tavro
