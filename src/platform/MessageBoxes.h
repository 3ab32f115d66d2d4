#pragma once

#include <string>

namespace tavro {

enum class MessageIcon { Critical, Question, Exclamation, Information };

// The program's message boxes (an OK button, a text, a title and an icon).
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    virtual void ShowMessage(const std::u16string& text, const std::u16string& title,
                             MessageIcon icon) = 0;
};

}  // namespace tavro
