#pragma once

#include <vector>

namespace tavro {

// The pop-up menu that lets the user pick one of several matching triggers.
class TriggerChoice {
  public:
    virtual ~TriggerChoice() = default;
    // Offers the matching slots (ascending, two or more, every one of them reachable),
    // fires the chosen one and returns when the menu has closed, with the
    // application that was typed in in front again.
    virtual void ShowTriggerChoice(const std::vector<int>& matchingSlots) = 0;
};

}  // namespace tavro
