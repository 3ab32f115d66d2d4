#pragma once

#include "platform/TriggerChoice.h"

namespace tavro {

class Engine;

// The menu at the mouse pointer that offers the triggers matching at once;
// the chosen one fires into the application that was typed in.
class TriggerChoiceMenu final : public TriggerChoice {
  public:
    explicit TriggerChoiceMenu(Engine& engine) : engine_(engine) {}

    void ShowTriggerChoice(const std::vector<int>& matchingSlots) override;
    void mnuTrigger_Click(int slot);

  private:
    Engine& engine_;
};

}  // namespace tavro
