#pragma once

#include <cstdint>

namespace tavro {

// Who pressed a key: the user (or another program), or this program through
// its own synthetic key events.
enum class KeyOrigin { User, Own };

// The modifiers that choose which character a key types, as the keyboard had
// them when the key went down. On Windows they are the real keyboard state
// at that moment; on X11 the modifier state the event carries.
struct KeyLevel {
    bool shift = false;
    bool capsLock = false;  // Caps Lock is on
    bool altGr = false;     // AltGr (Ctrl with Alt on Windows, the third level on X11)
};

// One key going down or up in some application.
struct KeyEvent {
    // Windows virtual-key code (65 = A, 13 = Enter, 16 = Shift, ...).
    std::uint32_t keyCode = 0;
    // Upper 16 bits of the keyboard-message flags: scan code, 0x100 for
    // extended keys, 0x2000 while Alt is held, 0x4000 on a key-down repeated
    // by a held key.
    std::int16_t keystate = 0;
    KeyLevel level;
    // Own: the event is one this program's KeyInjector sent. A platform
    // knows it for certain (an injection mark on Windows, the injecting
    // client on X11); lost or late events of its own never pass for the
    // user's.
    KeyOrigin origin = KeyOrigin::User;
};

// Receives the key events of the whole desktop.
class KeyEventSink {
  public:
    virtual ~KeyEventSink() = default;
    virtual void KeyDownHook(const KeyEvent& event) = 0;
    virtual void KeyUpHook(const KeyEvent& event) = 0;
};

// Observes every key of every application and never swallows one. Events are
// delivered on the program's one event-loop thread.
class KeyboardHook {
  public:
    virtual ~KeyboardHook() = default;
    virtual void Start(KeyEventSink& sink) = 0;
    virtual void Stop() = 0;
};

}  // namespace tavro
