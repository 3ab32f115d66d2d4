#pragma once

#include <string>

namespace tavro {

// Turns a replacement token or a text into synthetic key events.
class KeystrokeSending {
  public:
    virtual ~KeystrokeSending() = default;
    virtual void SendKeystrokes(const std::u16string& text) = 0;
};

}  // namespace tavro
