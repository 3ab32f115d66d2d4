#pragma once

#include <cstdint>
#include <string>

namespace tavro::test {

// What one randomised run of typing into a SendKey application gave.
struct SelfTriggerRun {
    // Triggers fired, and the user's key-downs that typed the last character
    // of a trigger: only those can make a trigger fire.
    int firings = 0;
    int userTriggerEnds = 0;
    // Whether a trigger the user typed after everything else fired exactly
    // once.
    bool lastTriggerFiredOnce = false;
    // Message boxes shown: the runaway guard never has to act.
    int messages = 0;
    // The triggers and replacements of the run, for messages.
    std::string description;
};

// Random triggers whose replacements contain triggers (their own among
// them), typed by a user whose keys land at random points of the echo of
// the program's own keys, some of which are lost or come back out of order.
SelfTriggerRun RunSelfTriggerSimulation(std::uint32_t seed);

}  // namespace tavro::test
