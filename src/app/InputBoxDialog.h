#pragma once

#include "platform/InputBox.h"

namespace tavro {

// The input box as a modal dialog over the active window: the prompt,
// wrapped, above a line to type in, with OK and Cancel.
class InputBoxDialog final : public InputBox {
  public:
    std::u16string AskText(const std::u16string& prompt, const std::u16string& title) override;
};

}  // namespace tavro
