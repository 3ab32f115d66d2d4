#pragma once

#include "platform/MessageBoxes.h"

namespace tavro {

// Message boxes as modal dialogs.
class MessageBoxDialogs final : public MessageBoxes {
  public:
    void ShowMessage(const std::u16string& text, const std::u16string& title,
                     MessageIcon icon) override;
};

}  // namespace tavro
