#pragma once

#include <bitset>
#include <chrono>

#include "platform/KeyInjector.h"
#include "platform/x11/SpareKeycodes.h"

namespace tavro::x11 {

class X11KeyboardHook;
class X11Keymap;
class XConnection;

// Synthetic key events through the XTEST extension. A key event names its
// key by virtual key (or by place, for the right-hand modifiers; a letter
// while Ctrl is held: the key X applications take for that shortcut,
// X11Keymap::ShortcutKeycodeOf); a character without a key in the keymap is
// typed through a spare keycode bound to it for the time being (all the
// characters announced for the text ahead at once), as one press and release
// whatever Shift and Caps Lock say. The program's event loop calls
// RestoreKeymapWhenIdle() now and then: once nothing has been sent for
// kKeepAfterTyping, the keymap is as it was (applications may still be
// working through the typed text until then).
//
// A long text is sent while the event loop waits. Given the program's
// keyboard hook, the injector waits for the server every kEventsPerRead key
// events and lets the hook read what it recorded meanwhile: the server drops
// recorded events when a few hundred of them wait unread.
//
// The server ignores the press of a key that is already down, as the last
// key of a trigger typed by another client may still be: before each press
// the injector reads what the hook has recorded, and releases a key that
// something else holds before it presses it. It sends no release of a key
// that is up.
//
// The server is grabbed (no other client's requests handled) while keys
// must go out with nothing in between:
// - kept to a window (KeepToWindow), the keys go out under a grab taken
//   after a check that the keyboard focus is in that window, until the
//   delivery pauses (PauseSending) for the event loop;
// - some applications (LibreOffice) take a release and a press of one key
//   with the same server time, next to each other, for the key's
//   auto-repeat and drop the press: a key pressed again right after its
//   release gets a press and release of the keymap's spacer (a keycode bound
//   to nothing, which types nothing anywhere) in between. (Chromium takes
//   Backspace only from its own keycode, so another keycode bound to the
//   same key will not do.) Where the keymap has no unbound keycode, the
//   press is processed by the server kRepeatPause later, so that the times
//   differ, under a grab, so that no other client's key comes in between.
// One grab serves both: a paced press inside a delivery's grab takes no
// grab of its own.
class X11KeyInjector final : public KeyInjector {
  public:
    static constexpr std::chrono::milliseconds kKeepAfterTyping{2000};
    static constexpr int kEventsPerRead = 64;
    static constexpr std::chrono::milliseconds kRepeatPause{1};

    // Throws std::runtime_error when the X server has no XTEST extension.
    X11KeyInjector(XConnection& connection, X11Keymap& keymap, X11KeyboardHook& hook);

    // Extra information plays no part.
    void keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                     std::uintptr_t extraInfo) override;
    void TypeCharacter(char32_t codePoint) override;
    void PrepareToType(const std::u32string& characters) override;
    // Checks the focus under a server grab before the key events that
    // follow, and keeps the grab until PauseSending().
    void KeepToWindow(WindowHandle window) override;
    void PauseSending() override;

    void RestoreKeymapWhenIdle();
    // Restores the keymap now, once the applications have had
    // kKeepAfterTyping for the last keys typed (a pause, when the program
    // ends right after typing).
    void RestoreKeymap();

  private:
    KeyCode KeycodeToSend(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags);
    bool CapsLockIsOn() const;
    void SendKey(KeyCode keycode, bool down);
    void FakeKeyEvent(KeyCode keycode, bool down);
    bool HoldServerInTarget();
    KeyCode Lend(KeySym keysym);
    void GrabServer();
    void UngrabServer();
    bool IsInWindow(Window window, Window outer);

    XConnection& connection_;
    X11Keymap& keymap_;
    X11KeyboardHook& hook_;
    SpareKeycodes spares_;
    SpareKeycodes::Clock::time_point lastSent_{};
    int eventsSinceRead_ = 0;
    std::bitset<256> pressed_;
    KeyCode lastReleased_ = 0;
    bool ctrlHeld_ = false;
    // The window keys are kept to (0: none), and the focus window last found
    // inside a target, which is remembered from one delivery to the next.
    WindowHandle target_ = 0;
    Window focusInTarget_ = None;
    WindowHandle focusTarget_ = 0;
    // How many holders of the server grab there are (the keys kept to the
    // target, a paced press); the server is grabbed while there is any.
    int grabs_ = 0;
    bool targetHeld_ = false;
};

}  // namespace tavro::x11
