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
// key by virtual key (or by place, for the right-hand modifiers); a
// character without a key in the keymap is typed through a spare keycode
// bound to it for the time being (all the characters announced for the text
// ahead at once), as one press and release whatever Shift and Caps Lock say. The program's event
// loop calls RestoreKeymapWhenIdle() now and then: once nothing has been sent for kKeepAfterTyping,
// the keymap is as it was (applications may still be working through the typed text until then).
//
// A long text is sent while the event loop waits. Given the program's
// keyboard hook, the injector waits for the server every kEventsPerRead key
// events and lets the hook read what it recorded meanwhile: the server drops
// recorded events when a few hundred of them wait unread.
//
// The server ignores the press of a key that is already down on the same
// device, as the last key of a trigger typed by another XTEST client may
// still be: a key held when a burst of sending starts is released before the
// injector presses it.
class X11KeyInjector final : public KeyInjector {
  public:
    static constexpr std::chrono::milliseconds kKeepAfterTyping{2000};
    static constexpr int kEventsPerRead = 64;
    // A pause in sending this long starts a new burst.
    static constexpr std::chrono::milliseconds kBurstGap{50};

    // Throws std::runtime_error when the X server has no XTEST extension.
    X11KeyInjector(XConnection& connection, X11Keymap& keymap, X11KeyboardHook& hook);

    // Extra information plays no part.
    void keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                     std::uintptr_t extraInfo) override;
    void TypeCharacter(char32_t codePoint) override;
    void PrepareToType(const std::u32string& characters) override;
    // Checks the focus under a server grab before every key event.
    void KeepToWindow(WindowHandle window) override;

    void RestoreKeymapWhenIdle();

  private:
    bool CapsLockIsOn() const;
    void SendKey(KeyCode keycode, bool down);
    void LetTheHookRead();
    bool GrabServerWithFocusInTarget();
    void UngrabServer();
    bool IsInWindow(Window window, Window outer);

    XConnection& connection_;
    X11Keymap& keymap_;
    X11KeyboardHook& hook_;
    SpareKeycodes spares_;
    SpareKeycodes::Clock::time_point lastSent_{};
    int eventsSinceRead_ = 0;
    std::bitset<256> heldElsewhere_;
    // The window keys are kept to (0: none), and the focus window last found
    // inside it.
    WindowHandle target_ = 0;
    Window focusInTarget_ = None;
    bool serverGrabbed_ = false;
    int keysDownInGrab_ = 0;
};

}  // namespace tavro::x11
