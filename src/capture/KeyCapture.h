#pragma once

#include <cstdint>
#include <string>

#include "platform/KeyboardHook.h"
#include "platform/PlatformTypes.h"

namespace tavro {

struct CaptureState;
class KeyBufferPage;
class KeyboardLayout;
class KeystrokeSending;
class MainWindowCommands;
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

    void WinHook1_KeyDownHook(const KeyEvent& event);
    void WinHook1_KeyUpHook(const KeyEvent& event);
    // Every 500 ms.
    void Timer1_Timer();

    // The key-buffer entry of a key typed with these modifiers: "" for the
    // silent keys, a bracketed name, or one character (two UTF-16 units
    // outside the Basic Multilingual Plane).
    std::u16string KeyName(std::uint32_t keyCode, const KeyLevel& level);
    // The character the key types with these modifiers, "\0" when none.
    std::u16string TranslateKey(std::uint32_t keyCode, const KeyLevel& level);
    void ShowModifierState();

  private:
    bool IsOwnWindowTyping();
    void WatchForeground();
    void Record(const std::u16string& entry, bool ownKey);

    Dependencies d_;
    ThreadId programThread_ = 0;
};

}  // namespace tavro
