#include "platform/x11/X11KeyInjector.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <xkbcommon/xkbcommon.h>

#include <stdexcept>
#include <thread>
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

void X11KeyInjector::keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode,
                                 std::uint32_t flags, std::uintptr_t) {
    const bool down = (flags & kKeyEventKeyUp) == 0;
    if (virtualKey == kVirtualKeyCtrl) {
        ctrlHeld_ = down;
    }
    const KeyCode keycode = KeycodeToSend(virtualKey, scanCode, flags);
    if (keycode != 0 && HoldServerInTarget()) {
        SendKey(keycode, down);
    }
}

void X11KeyInjector::TypeCharacter(char32_t codePoint) {
    const auto keysym = static_cast<KeySym>(xkb_utf32_to_keysym(codePoint));
    if (keysym == NoSymbol) {
        return;
    }
    const KeyCode keycode = Lend(keysym);
    if (keycode == 0 || !HoldServerInTarget()) {
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

void X11KeyInjector::KeepToWindow(WindowHandle window) {
    PauseSending();
    target_ = window;
}

void X11KeyInjector::PauseSending() {
    if (targetHeld_) {
        targetHeld_ = false;
        UngrabServer();
    }
}

// With a target window, grabs the server and checks that the keyboard focus
// is in that window: held by the grab, the focus cannot move before the key
// events sent next are handled (no window manager, no other client runs).
// The grab lasts until the delivery pauses or ends, or a keycode has to be
// bound anew. Returns false (and lets go of the server) when the focus is
// elsewhere.
bool X11KeyInjector::HoldServerInTarget() {
    if (target_ == 0 || targetHeld_) {
        return true;
    }
    GrabServer();
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(connection_.get(), &focus, &revertTo);
    if (focus != focusInTarget_ || target_ != focusTarget_) {
        focusInTarget_ = IsInWindow(focus, target_) ? focus : None;
        focusTarget_ = target_;
    }
    if (focusInTarget_ == None) {
        UngrabServer();
        return false;
    }
    targetHeld_ = true;
    return true;
}

// A spare keycode for the keysym. Binding keycodes anew may wait for the
// application in front to answer a ping, which it cannot while the server
// is grabbed: the grab ends first.
KeyCode X11KeyInjector::Lend(KeySym keysym) {
    if (!spares_.Types(keysym)) {
        PauseSending();
    }
    return spares_.Lend(keysym);
}

void X11KeyInjector::GrabServer() {
    if (grabs_++ == 0) {
        XGrabServer(connection_.get());
    }
}

void X11KeyInjector::UngrabServer() {
    if (--grabs_ > 0) {
        return;
    }
    XUngrabServer(connection_.get());
    XFlush(connection_.get());
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

void X11KeyInjector::RestoreKeymap() {
    if (spares_.Lending()) {
        std::this_thread::sleep_until(lastSent_ + kKeepAfterTyping);
        spares_.GiveBackAll();
    }
}

// A scan code names the key when it has that virtual key (the right Shift,
// AltGr); otherwise the virtual key does. A letter sent while Ctrl is held
// is a shortcut, which X applications recognise by the letter's keysym:
// where no key carries the letter (a Russian layout alone), a spare keycode
// is bound to it.
KeyCode X11KeyInjector::KeycodeToSend(std::uint8_t virtualKey, std::uint8_t scanCode,
                                      std::uint32_t flags) {
    if (ctrlHeld_ && virtualKey >= 'A' && virtualKey <= 'Z') {
        const KeyCode carrier = keymap_.ShortcutKeycodeOf(virtualKey);
        return carrier != 0 ? carrier : Lend(static_cast<KeySym>(XK_a + (virtualKey - 'A')));
    }
    const KeyCode atPlace =
        scanCode == 0 ? 0
                      : keymap_.KeycodeAt(PcKey{.scanCode = scanCode,
                                                .extended = (flags & kKeyEventExtendedKey) != 0});
    const X11Keymap::Key& key = keymap_.KeyOf(atPlace);
    const bool named = atPlace != 0 &&
                       (key.virtualKey == virtualKey || key.virtualKeyWithoutNumLock == virtualKey);
    return named ? atPlace : keymap_.KeycodeOf(virtualKey);
}

bool X11KeyInjector::CapsLockIsOn() const {
    XkbStateRec state{};
    XkbGetState(connection_.get(), XkbUseCoreKbd, &state);
    return (state.locked_mods & LockMask) != 0;
}

// Whether another client holds the key matters before a press and before
// the release of a key this injector did not press. Kept to a window, the
// events go out when the delivery pauses (or every kEventsPerRead events):
// with the server held for it, no one else sees them sooner anyway, and
// flushing is a system call.
void X11KeyInjector::SendKey(KeyCode keycode, bool down) {
    lastSent_ = SpareKeycodes::Clock::now();
    if (down || !pressed_[keycode]) {
        hook_.ReadRecordedEvents();
    }
    const bool heldElsewhere = hook_.HeldElsewhere(keycode);
    if (down && heldElsewhere) {
        FakeKeyEvent(keycode, false);
    } else if (!down && !pressed_[keycode] && !heldElsewhere) {
        return;
    }
    FakeKeyEvent(keycode, down);
    if (!targetHeld_) {
        XFlush(connection_.get());
    }
    if (eventsSinceRead_ >= kEventsPerRead) {
        XSync(connection_.get(), False);
        hook_.ReadRecordedEvents();
        eventsSinceRead_ = 0;
    }
}

void X11KeyInjector::FakeKeyEvent(KeyCode keycode, bool down) {
    Display* display = connection_.get();
    const bool again = down && keycode == lastReleased_;
    const KeyCode spacer = again ? keymap_.SpacerKeycode() : 0;
    if (spacer != 0) {
        XTestFakeKeyEvent(display, spacer, True, CurrentTime);
        XTestFakeKeyEvent(display, spacer, False, CurrentTime);
        XTestFakeKeyEvent(display, keycode, True, CurrentTime);
    } else if (again) {
        // No other client's keys in the pause: they would land in the middle
        // of what is typed.
        GrabServer();
        XTestFakeKeyEvent(display, keycode, True, kRepeatPause.count());
        UngrabServer();
    } else {
        XTestFakeKeyEvent(display, keycode, down ? True : False, CurrentTime);
    }
    pressed_[keycode] = down;
    lastReleased_ = down ? 0 : keycode;
    ++eventsSinceRead_;
}

}  // namespace tavro::x11
