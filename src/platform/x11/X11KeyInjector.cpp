#include "platform/x11/X11KeyInjector.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <xkbcommon/xkbcommon.h>

#include <stdexcept>
#include <thread>

#include "platform/x11/X11KeyboardHook.h"
#include "platform/x11/X11Keymap.h"
#include "platform/x11/XConnection.h"

namespace tavro::x11 {

X11KeyInjector::X11KeyInjector(XConnection& connection, X11Keymap& keymap, X11KeyboardHook& hook)
    : connection_(connection), keymap_(keymap), hook_(hook), spares_(connection, keymap) {
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(connection_.get(), &eventBase, &errorBase, &major, &minor)) {
        throw std::runtime_error("the X server has no XTEST extension");
    }
}

void X11KeyInjector::keybd_event(std::uint8_t virtualKey, std::uint8_t, std::uint32_t flags,
                                 std::uintptr_t) {
    const bool down = (flags & kKeyEventKeyUp) == 0;
    const KeyCode keycode = KeycodeToSend(virtualKey, down);
    if (keycode != 0) {
        SendKey(keycode, down);
    }
}

void X11KeyInjector::TypeCharacter(char32_t codePoint) {
    const auto keysym = static_cast<KeySym>(xkb_utf32_to_keysym(codePoint));
    if (keysym == NoSymbol) {
        return;
    }
    const KeyCode keycode = spares_.Lend(keysym);
    if (keycode == 0) {
        return;
    }
    // Caps Lock would turn a lent letter into its capital.
    KeySym lower = NoSymbol;
    KeySym upper = NoSymbol;
    XConvertCase(keysym, &lower, &upper);
    const bool unlockCaps = lower != upper && CapsLockIsOn();
    Display* display = connection_.get();
    if (unlockCaps) {
        XkbLockModifiers(display, XkbUseCoreKbd, LockMask, 0);
    }
    SendKey(keycode, true);
    SendKey(keycode, false);
    if (unlockCaps) {
        XkbLockModifiers(display, XkbUseCoreKbd, LockMask, LockMask);
        XFlush(display);
    }
}

void X11KeyInjector::RestoreKeymapWhenIdle() {
    if (SpareKeycodes::Clock::now() - lastSent_ >= kKeepAfterTyping) {
        spares_.GiveBackAll();
    }
}

void X11KeyInjector::RestoreKeymap() {
    if (spares_.Lending()) {
        std::this_thread::sleep_until(lastSent_ + kKeepAfterTyping);
        spares_.GiveBackAll();
    }
}

// A letter sent while Ctrl is held is a shortcut, which X applications
// recognise by the letter's keysym: where no key carries the letter (a
// Russian layout alone), a spare keycode is bound to it.
KeyCode X11KeyInjector::KeycodeToSend(std::uint8_t virtualKey, bool down) {
    if (virtualKey == kVirtualKeyCtrl) {
        ctrlHeld_ = down;
    }
    if (!ctrlHeld_ || virtualKey < 'A' || virtualKey > 'Z') {
        return keymap_.KeycodeOf(virtualKey);
    }
    const KeyCode carrier = keymap_.ShortcutKeycodeOf(virtualKey);
    return carrier != 0 ? carrier : spares_.Lend(static_cast<KeySym>(XK_a + (virtualKey - 'A')));
}

bool X11KeyInjector::CapsLockIsOn() const {
    XkbStateRec state{};
    XkbGetState(connection_.get(), XkbUseCoreKbd, &state);
    return (state.locked_mods & LockMask) != 0;
}

void X11KeyInjector::SendKey(KeyCode keycode, bool down) {
    const auto now = SpareKeycodes::Clock::now();
    if (now - lastSent_ >= kBurstGap) {
        hook_.ForgetOwnKeyEvents();
    }
    lastSent_ = now;
    hook_.ReadRecordedEvents();
    const bool heldElsewhere = hook_.HeldElsewhere(keycode);
    if (down && heldElsewhere) {
        FakeKeyEvent(keycode, false);
    } else if (!down && !pressed_[keycode] && !heldElsewhere) {
        return;
    }
    FakeKeyEvent(keycode, down);
    XFlush(connection_.get());
    if (eventsSinceRead_ >= kEventsPerRead) {
        XSync(connection_.get(), False);
        hook_.ReadRecordedEvents();
        eventsSinceRead_ = 0;
    }
}

void X11KeyInjector::FakeKeyEvent(KeyCode keycode, bool down) {
    Display* display = connection_.get();
    if (down && keycode == lastReleased_) {
        // No other client's keys in the pause: they would land in the middle
        // of what is typed.
        XGrabServer(display);
        XTestFakeKeyEvent(display, keycode, True, kRepeatPause.count());
        XUngrabServer(display);
    } else {
        XTestFakeKeyEvent(display, keycode, down ? True : False, CurrentTime);
    }
    pressed_[keycode] = down;
    lastReleased_ = down ? 0 : keycode;
    hook_.NoteOwnKeyEvent(keycode);
    ++eventsSinceRead_;
}

}  // namespace tavro::x11
