#pragma once

#include "platform/MessageBoxes.h"
#include "platform/QuestionBox.h"

namespace tavro {

// Message boxes and questions as modal dialogs over the active window.
class MessageBoxDialogs final : public MessageBoxes, public QuestionBox {
  public:
    void ShowMessage(const std::u16string& text, const std::u16string& title,
                     MessageIcon icon) override;
    // No is the default answer: a hasty Enter changes nothing.
    bool AskYesNo(const std::u16string& text, const std::u16string& title,
                  std::optional<MessageIcon> icon) override;
};

}  // namespace tavro
