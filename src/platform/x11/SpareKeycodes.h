#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <vector>

#include "platform/x11/LentKeycodeRecord.h"

namespace tavro::x11 {

class X11Keymap;
class XConnection;

// Keycodes that the keymap binds to nothing, lent to keysyms it has no key
// for. X clients read a changed keymap some time after the change, so a
// keycode keeps its keysym while text is typed with it: each keysym gets a
// keycode of its own, and one is lent again to another keysym only when all
// are in use, and not sooner than kRebindPause after its last use: time for
// the application to take the keys typed with it (a busy editor lagged
// 200 ms behind; 100 ms lost characters). The bindings are noted on the
// server (LentKeycodeRecord), so that a program killed while it has some
// leaves none behind once it starts again.
class SpareKeycodes {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kRebindPause{500};

    SpareKeycodes(XConnection& connection, X11Keymap& keymap);
    ~SpareKeycodes();
    SpareKeycodes(const SpareKeycodes&) = delete;
    SpareKeycodes& operator=(const SpareKeycodes&) = delete;

    // The keycode that types the keysym now; 0 when the keymap has no
    // spare keycode at all.
    KeyCode Lend(KeySym keysym);
    // Unbinds every lent keycode again.
    void GiveBackAll();
    bool Lending() const { return !loans_.empty(); }

  private:
    struct Loan {
        KeyCode keycode;
        KeySym keysym;
        Clock::time_point lastUse;
    };

    void Bind(KeyCode keycode, KeySym keysym);

    XConnection& connection_;
    X11Keymap& keymap_;
    LentKeycodeRecord record_;
    std::vector<KeyCode> spare_;
    std::vector<Loan> loans_;
};

}  // namespace tavro::x11
