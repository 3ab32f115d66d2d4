#include "capture/TriggerMatcher.h"

#include <vector>

#include "capture/KeyBuffer.h"
#include "capture/TriggerFiring.h"
#include "platform/TriggerChoice.h"
#include "store/TriggerTable.h"
#include "text/TextCase.h"

namespace tavro {

TriggerMatcher::TriggerMatcher(KeyBuffer& keyBuffer, const TriggerTable& triggers,
                               TriggerFiring& firing, TriggerChoice& choice)
    : keyBuffer_(keyBuffer), triggers_(triggers), firing_(firing), choice_(choice) {}

// What the program typed itself never completes a trigger.
bool TriggerMatcher::Matches(int slot) const {
    const std::u16string& trigger = triggers_.Slot(slot).Trigger;
    return !trigger.empty() && !keyBuffer_.EndsWithOwnKey() &&
           EndsWithIgnoringCase(keyBuffer_.Text(), trigger);
}

void TriggerMatcher::MatchTriggers() {
    std::vector<int> matching;
    for (int slot = 0; slot < triggers_.UsedSlots(); ++slot) {
        if (Matches(slot)) {
            matching.push_back(slot);
        }
    }
    if (matching.empty()) {
        return;
    }
    if (matching.size() == 1) {
        // Every slot is tested again against the buffer as firing leaves it:
        // firing empties the buffer, and key events that arrive while it
        // yields may fill it again.
        for (int slot = 0; slot < triggers_.UsedSlots(); ++slot) {
            if (Matches(slot)) {
                firing_.FireTrigger(triggers_.Slot(slot).Trigger, slot);
            }
        }
        return;
    }
    choice_.ShowTriggerChoice(matching);
    keyBuffer_.Clear();
}

}  // namespace tavro
