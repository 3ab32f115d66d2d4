#pragma once

#include "platform/TriggerChoice.h"

namespace tavro {

class Engine;
class frmTavro;

// The menu at the mouse pointer that offers the triggers matching at once;
// the chosen one fires into the application that was typed in. The main
// window goes out of sight first.
class TriggerChoiceMenu final : public TriggerChoice {
  public:
    TriggerChoiceMenu(Engine& engine, frmTavro& form) : engine_(engine), form_(form) {}

    void ShowTriggerChoice(const std::vector<int>& matchingSlots) override;
    void mnuTrigger_Click(int slot);

  private:
    Engine& engine_;
    frmTavro& form_;
};

}  // namespace tavro
