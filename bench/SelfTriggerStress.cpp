// The randomised self-expansion run of the engine tests, over many more
// seeds: random triggers whose replacements contain triggers, typed by a
// user whose keys land anywhere in the echo of the program's own keys, some
// of which are lost or reordered. Prints the seeds run, the firings, and the
// seeds where the program fired on its own output or missed the user's
// trigger. Usage: self_trigger_stress [seeds] (default 100000).

#include <cstdio>
#include <cstdlib>

#include "engine/SelfTriggerSimulation.h"

int main(int argc, char** argv) {
    const unsigned long seeds = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
    unsigned long firings = 0;
    unsigned long userTriggerEnds = 0;
    unsigned long failed = 0;
    for (unsigned long seed = 1; seed <= seeds; ++seed) {
        const tavro::test::SelfTriggerRun run =
            tavro::test::RunSelfTriggerSimulation(static_cast<std::uint32_t>(seed));
        firings += static_cast<unsigned long>(run.firings);
        userTriggerEnds += static_cast<unsigned long>(run.userTriggerEnds);
        if (run.firings > run.userTriggerEnds || !run.lastTriggerFiredOnce || run.messages != 0) {
            ++failed;
            std::printf("seed %lu: %d firings for %d trigger ends of the user%s%s; %s\n", seed,
                        run.firings, run.userTriggerEnds,
                        run.lastTriggerFiredOnce ? "" : ", the last trigger did not fire once",
                        run.messages != 0 ? ", the runaway guard stopped a trigger" : "",
                        run.description.c_str());
        }
    }
    std::printf(
        "%lu seeds: %lu firings for %lu keys of the user that ended a trigger; "
        "%lu seeds failed\n",
        seeds, firings, userTriggerEnds, failed);
    return failed == 0 ? 0 : 1;
}
