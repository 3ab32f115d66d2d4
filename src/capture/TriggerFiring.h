#pragma once

#include <string>

namespace tavro {

// Fires one trigger: erases the typed trigger text and delivers the slot's
// replacement. `triggerText` may be the slot's own Trigger field and is read
// again after the table is reloaded.
class TriggerFiring {
  public:
    virtual ~TriggerFiring() = default;
    virtual void FireTrigger(const std::u16string& triggerText, int slot) = 0;
};

}  // namespace tavro
