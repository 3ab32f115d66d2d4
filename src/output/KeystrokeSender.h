#pragma once

#include <cstdint>
#include <string>

#include "capture/KeystrokeSending.h"

namespace tavro {

class KeyInjector;
class KeyboardLayout;
class MainWindowCommands;
struct ModifierFlags;

// Sends a replacement token as its key combination or window command, or
// types a text character by character.
class KeystrokeSender final : public KeystrokeSending {
  public:
    KeystrokeSender(KeyInjector& injector, KeyboardLayout& layout, const ModifierFlags& modifiers,
                    MainWindowCommands& commands);

    void SendKeystrokes(const std::u16string& text) override;

  private:
    bool SendToken(const std::u16string& text);
    void TypeText(const std::u16string& text);
    void TypeCharacter(char16_t c);
    std::uint8_t KeyTyping(char16_t c, std::uint8_t fallback);
    void Press(std::uint8_t virtualKey);
    void Release(std::uint8_t virtualKey);
    void Tap(std::uint8_t virtualKey);

    KeyInjector& injector_;
    KeyboardLayout& layout_;
    const ModifierFlags& modifiers_;
    MainWindowCommands& commands_;
};

}  // namespace tavro
