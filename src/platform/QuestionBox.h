#pragma once

#include <optional>
#include <string>

#include "platform/MessageBoxes.h"

namespace tavro {

// Asks the user a question with the buttons Yes and No.
class QuestionBox {
  public:
    virtual ~QuestionBox() = default;
    // Whether the user answered Yes; closing the box answers No. Without an
    // icon the box shows none.
    virtual bool AskYesNo(const std::u16string& text, const std::u16string& title,
                          std::optional<MessageIcon> icon) = 0;
};

}  // namespace tavro
