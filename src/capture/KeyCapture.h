#pragma once

#include <cstdint>
#include <string>

namespace tavro {

struct CaptureState;
class KeyBufferPage;
class KeyboardLayout;
class KeystrokeSending;
class MainWindowCommands;
class OwnKeyEvents;
class ProgramInfo;
class TriggerMatcher;
class WindowOperations;
class WindowSystem;

// Turns the keyboard hook's events into the key buffer, the key diary, the
// modifier flags and the last foreign window in front, and hands every
// recorded key-down of the user to trigger matching.
class KeyCapture {
  public:
    struct Dependencies {
        CaptureState& state;
        OwnKeyEvents& ownKeys;
        WindowSystem& windows;
        WindowOperations& windowOperations;
        KeyboardLayout& layout;
        ProgramInfo& program;
        KeyBufferPage& page;
        MainWindowCommands& commands;
        KeystrokeSending& sender;
        TriggerMatcher& matcher;
    };

    explicit KeyCapture(const Dependencies& dependencies);

    void WinHook1_KeyDownHook(std::uint32_t keyCode, std::int16_t keystate);
    void WinHook1_KeyUpHook(std::uint32_t keyCode);
    // Every 500 ms.
    void Timer1_Timer();

    // The key-buffer entry of a key: "" for the silent keys, a bracketed name,
    // or one character.
    std::u16string KeyName(std::uint32_t keyCode);
    // The character the key produces under the program's keyboard state, 0
    // when none.
    char16_t TranslateKey(std::uint32_t keyCode);
    void ShowModifierState();

  private:
    bool IsOwnWindowTyping();
    void WatchForeground();
    void Record(const std::u16string& entry, bool ownKey);

    Dependencies d_;
};

}  // namespace tavro
