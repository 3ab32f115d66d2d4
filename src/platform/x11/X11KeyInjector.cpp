#include "platform/x11/X11KeyInjector.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <xkbcommon/xkbcommon.h>

#include <stdexcept>
#include <vector>

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
    hook_.RecognizeInjectionsOf(connection_.get());
}

// A scan code names the key when it has that virtual key (the right Shift,
// AltGr); otherwise the virtual key does.
void X11KeyInjector::keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode,
                                 std::uint32_t flags, std::uintptr_t) {
    const KeyCode atPlace =
        scanCode == 0 ? 0
                      : keymap_.KeycodeAt(PcKey{.scanCode = scanCode,
                                                .extended = (flags & kKeyEventExtendedKey) != 0});
    const X11Keymap::Key& key = keymap_.KeyOf(atPlace);
    const bool named = atPlace != 0 &&
                       (key.virtualKey == virtualKey || key.virtualKeyWithoutNumLock == virtualKey);
    const KeyCode keycode = named ? atPlace : keymap_.KeycodeOf(virtualKey);
    if (keycode != 0) {
        SendKey(keycode, (flags & kKeyEventKeyUp) == 0);
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

void X11KeyInjector::PrepareToType(const std::u32string& characters) {
    std::vector<KeySym> keysyms;
    for (const char32_t c : characters) {
        keysyms.push_back(static_cast<KeySym>(xkb_utf32_to_keysym(c)));
    }
    spares_.Announce(std::move(keysyms));
}

void X11KeyInjector::RestoreKeymapWhenIdle() {
    if (SpareKeycodes::Clock::now() - lastSent_ >= kKeepAfterTyping) {
        spares_.GiveBackAll();
    }
}

bool X11KeyInjector::CapsLockIsOn() const {
    XkbStateRec state{};
    XkbGetState(connection_.get(), XkbUseCoreKbd, &state);
    return (state.locked_mods & LockMask) != 0;
}

void X11KeyInjector::SendKey(KeyCode keycode, bool down) {
    Display* display = connection_.get();
    const auto now = SpareKeycodes::Clock::now();
    if (now - lastSent_ >= kBurstGap) {
        heldElsewhere_ = connection_.KeysDown();
    }
    if (down && heldElsewhere_[keycode]) {
        XTestFakeKeyEvent(display, keycode, False, CurrentTime);
    }
    heldElsewhere_[keycode] = false;
    XTestFakeKeyEvent(display, keycode, down ? True : False, CurrentTime);
    XFlush(display);
    lastSent_ = now;
    if (++eventsSinceRead_ >= kEventsPerRead) {
        XSync(connection_.get(), False);
        hook_.ReadRecordedEvents();
        eventsSinceRead_ = 0;
    }
}

}  // namespace tavro::x11
