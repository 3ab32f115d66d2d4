#pragma once

#include <string>

namespace tavro {

// Asks the user for one line of text, with OK and Cancel.
class InputBox {
  public:
    virtual ~InputBox() = default;
    // The text entered; "" when cancelled.
    virtual std::u16string AskText(const std::u16string& prompt, const std::u16string& title) = 0;
};

}  // namespace tavro
