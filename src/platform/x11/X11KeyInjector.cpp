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
    const bool down = (flags & kKeyEventKeyUp) == 0;
    if (keycode != 0 && GrabServerWithFocusInTarget()) {
        SendKey(keycode, down);
        if (down) {
            ++keysDownInGrab_;
        } else if (keysDownInGrab_ > 0) {
            --keysDownInGrab_;
        }
        UngrabServer();
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
    if (!GrabServerWithFocusInTarget()) {
        return;
    }
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
    UngrabServer();
}

void X11KeyInjector::KeepToWindow(WindowHandle window) {
    keysDownInGrab_ = 0;
    UngrabServer();
    target_ = window;
    focusInTarget_ = None;
}

// With a target window, grabs the server and checks that the keyboard focus
// is in that window: held by the grab, the focus cannot move before the key
// events sent next are handled. The grab lasts until the keys pressed under
// it are released (the keys of one character: Shift, the key, its release,
// Shift's release), never longer than a call of the sender. Returns false
// (and lets go of the server) when the focus is elsewhere.
bool X11KeyInjector::GrabServerWithFocusInTarget() {
    if (target_ == 0 || serverGrabbed_) {
        return true;
    }
    Display* display = connection_.get();
    XGrabServer(display);
    serverGrabbed_ = true;
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(display, &focus, &revertTo);
    if (focus != focusInTarget_) {
        focusInTarget_ = IsInWindow(focus, target_) ? focus : None;
    }
    if (focusInTarget_ == None) {
        UngrabServer();
        return false;
    }
    return true;
}

void X11KeyInjector::UngrabServer() {
    if (!serverGrabbed_ || keysDownInGrab_ > 0) {
        return;
    }
    XUngrabServer(connection_.get());
    XFlush(connection_.get());
    serverGrabbed_ = false;
    if (eventsSinceRead_ >= kEventsPerRead) {
        LetTheHookRead();
    }
}

// Whether the window is `outer` or lies inside it.
bool X11KeyInjector::IsInWindow(Window window, Window outer) {
    Display* display = connection_.get();
    while (window != None && window != PointerRoot && window != connection_.Root()) {
        if (window == outer) {
            return true;
        }
        Window root = 0;
        Window parent = None;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) {
            return false;
        }
        if (children != nullptr) {
            XFree(children);
        }
        window = parent;
    }
    return false;
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
    if (++eventsSinceRead_ >= kEventsPerRead && !serverGrabbed_) {
        LetTheHookRead();
    }
}

// The hook reads on connections of its own, which wait while the server is
// grabbed.
void X11KeyInjector::LetTheHookRead() {
    XSync(connection_.get(), False);
    hook_.ReadRecordedEvents();
    eventsSinceRead_ = 0;
}

}  // namespace tavro::x11
