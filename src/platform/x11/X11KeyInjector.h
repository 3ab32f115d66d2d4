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
// key by virtual key (a letter while Ctrl is held: the key X applications
// take for that shortcut, X11Keymap::ShortcutKeycodeOf); a character without a key in the keymap is
// typed through a spare keycode bound to it for the time being, as one press and release whatever
// Shift and Caps Lock say. The program's event loop calls RestoreKeymapWhenIdle() now and then:
// once nothing has been sent for kKeepAfterTyping, the keymap is as it was (applications may still
// be working through the typed text until then).
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
// Some applications (LibreOffice) take a release and a press of one key
// with the same server time for the key's auto-repeat and drop the press:
// a key pressed again right after its release is processed by the server
// kRepeatPause later, so that the times differ, with the server grabbed
// meanwhile, so that no other client's key comes in between.
class X11KeyInjector final : public KeyInjector {
  public:
    static constexpr std::chrono::milliseconds kKeepAfterTyping{2000};
    static constexpr int kEventsPerRead = 64;
    // A pause in sending this long starts a new burst.
    static constexpr std::chrono::milliseconds kBurstGap{50};
    static constexpr std::chrono::milliseconds kRepeatPause{1};

    // Throws std::runtime_error when the X server has no XTEST extension.
    X11KeyInjector(XConnection& connection, X11Keymap& keymap, X11KeyboardHook& hook);

    // Scan code and extra information play no part.
    void keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                     std::uintptr_t extraInfo) override;
    void TypeCharacter(char32_t codePoint) override;

    void RestoreKeymapWhenIdle();
    // Restores the keymap now, once the applications have had
    // kKeepAfterTyping for the last keys typed (a pause, when the program
    // ends right after typing).
    void RestoreKeymap();

  private:
    KeyCode KeycodeToSend(std::uint8_t virtualKey, bool down);
    bool CapsLockIsOn() const;
    void SendKey(KeyCode keycode, bool down);
    void FakeKeyEvent(KeyCode keycode, bool down);

    XConnection& connection_;
    X11Keymap& keymap_;
    X11KeyboardHook& hook_;
    SpareKeycodes spares_;
    SpareKeycodes::Clock::time_point lastSent_{};
    int eventsSinceRead_ = 0;
    std::bitset<256> pressed_;
    KeyCode lastReleased_ = 0;
    bool ctrlHeld_ = false;
};

}  // namespace tavro::x11
