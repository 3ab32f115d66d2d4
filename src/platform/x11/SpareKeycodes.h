#pragma once

#include <X11/Xlib.h>

#include <chrono>
#include <vector>

#include "platform/x11/ApplicationPing.h"
#include "platform/x11/LentKeycodeRecord.h"

namespace tavro::x11 {

class X11Keymap;
class XConnection;

// Keycodes that the keymap binds to nothing, lent to keysyms it has no key
// for, as many at once as there are spare keycodes: the keysyms announced
// for the text ahead are bound in one change of the keymap, and bound again
// in one change when the text needs others. (Every change makes every
// client read the keymap again, and window managers grab their keys anew: a
// change per keycode kept openbox too busy to follow a click.)
//
// X clients read a changed keymap some time after the change, some of them
// (GTK) only when they handle their next key: a keycode bound to another
// keysym before the application has handled the keys typed with it would
// turn those keys into the new keysym. So keycodes are bound anew only once
// the application with the focus has answered a ping sent after those keys,
// or, for one that takes no pings, kRebindPause after their last use (a busy
// editor lagged 200 ms behind; 100 ms lost characters).
//
// The bindings are noted on the server (LentKeycodeRecord), so that a
// program killed while it has some leaves none behind once it starts again.
class SpareKeycodes {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kRebindPause{500};

    SpareKeycodes(XConnection& connection, X11Keymap& keymap);
    ~SpareKeycodes();
    SpareKeycodes(const SpareKeycodes&) = delete;
    SpareKeycodes& operator=(const SpareKeycodes&) = delete;

    // The keysyms the next Lend calls will ask for, in order.
    void Announce(std::vector<KeySym> keysyms);
    // The keycode that types the keysym now; 0 when the keymap has no
    // spare keycode at all.
    KeyCode Lend(KeySym keysym);
    // Whether a lent keycode types the keysym already (Lend changes nothing).
    bool Types(KeySym keysym) const;
    // Unbinds every lent keycode again.
    void GiveBackAll();
    bool Lending() const { return !loans_.empty(); }

  private:
    struct Loan {
        KeyCode keycode;
        KeySym keysym;
        Clock::time_point lastUse;
    };

    void BindBatch(KeySym first);
    void WaitUntilTheApplicationHasTheKeys(Clock::time_point lastUse);
    // One change of the keymap; NoSymbol unbinds.
    void Bind(const std::vector<KeyBinding>& bindings);

    XConnection& connection_;
    X11Keymap& keymap_;
    LentKeycodeRecord record_;
    ApplicationPing ping_;
    std::vector<KeyCode> spare_;
    std::vector<Loan> loans_;
    std::vector<KeySym> announced_;
    // Whether a lent keycode was typed since the keymap changed last.
    bool typedSinceChange_ = false;
};

}  // namespace tavro::x11
