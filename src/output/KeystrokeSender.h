#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "capture/KeystrokeSending.h"

namespace tavro {

class EventLoop;
class KeyInjector;
class KeyboardLayout;
struct KeystrokeDelivery;
class MainWindowCommands;
struct ModifierFlags;
class WindowSystem;

// Sends a replacement token as its key combination or window command, or
// types a text character by character.
//
// A text is typed in slices, and the event loop runs between them, so that
// a long text never holds up the program; Backspaces that erase a trigger
// go out in its first slice. The typing stops when the window
// in front is no longer the one it began in (the rest would go to whatever
// the user switched to), and when the user presses Esc.
class KeystrokeSender final : public KeystrokeSending {
  public:
    // The most characters typed before the event loop runs again; a slice
    // also ends before its 17th different character without a key, so that
    // the platform can make keys for all of them at once.
    static constexpr std::size_t kSliceCharacters = 50;
    static constexpr std::size_t kSliceCharactersWithoutKey = 16;

    struct Dependencies {
        KeyInjector& injector;
        KeyboardLayout& layout;
        const ModifierFlags& modifiers;
        KeystrokeDelivery& delivery;
        WindowSystem& windows;
        EventLoop& eventLoop;
        MainWindowCommands& commands;
    };

    explicit KeystrokeSender(const Dependencies& dependencies);

    void SendKeystrokes(const std::u16string& text) override;
    void EraseAndSendKeystrokes(int backspaces, const std::u16string& text) override;

  private:
    void ReleaseHeldModifiers();
    // What the token does; empty when the text is no token.
    std::function<void()> TokenAction(const std::u16string& text);
    void Erase(int backspaces);
    void TypeText(const std::u16string& text, int backspaces);
    std::size_t PrepareSlice(const std::u16string& text, std::size_t start);
    void TypeCharacter(char16_t c);
    std::uint8_t KeyTyping(char16_t c, std::uint8_t fallback);
    void Press(std::uint8_t virtualKey);
    void Release(std::uint8_t virtualKey);
    void Tap(std::uint8_t virtualKey);

    Dependencies d_;
};

}  // namespace tavro
