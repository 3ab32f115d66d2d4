#pragma once

#include <string>

namespace tavro {

// Turns a replacement token or a text into synthetic key events.
class KeystrokeSending {
  public:
    virtual ~KeystrokeSending() = default;
    virtual void SendKeystrokes(const std::u16string& text) = 0;
    // Erases that many characters before the caret with Backspaces, then
    // sends the text as SendKeystrokes does. A text is typed in one delivery
    // with the Backspaces, so that no key of the user's lands among them.
    virtual void EraseAndSendKeystrokes(int backspaces, const std::u16string& text) = 0;
};

}  // namespace tavro
