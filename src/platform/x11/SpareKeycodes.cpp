#include "platform/x11/SpareKeycodes.h"

#include <algorithm>
#include <thread>

#include "platform/x11/X11Keymap.h"
#include "platform/x11/XConnection.h"

namespace tavro::x11 {

SpareKeycodes::SpareKeycodes(XConnection& connection, X11Keymap& keymap)
    : connection_(connection), keymap_(keymap), record_(connection) {}

SpareKeycodes::~SpareKeycodes() {
    GiveBackAll();
}

KeyCode SpareKeycodes::Lend(KeySym keysym) {
    const Clock::time_point now = Clock::now();
    for (Loan& loan : loans_) {
        if (loan.keysym == keysym) {
            loan.lastUse = now;
            return loan.keycode;
        }
    }
    if (loans_.empty()) {
        spare_ = keymap_.UnboundKeycodes();
    }
    if (loans_.size() < spare_.size()) {
        const KeyCode keycode = spare_[loans_.size()];
        keymap_.SetLent(keycode, true);
        Bind(keycode, keysym);
        loans_.push_back({keycode, keysym, Clock::now()});
        return keycode;
    }
    if (loans_.empty()) {
        return 0;
    }
    Loan& oldest =
        *std::min_element(loans_.begin(), loans_.end(),
                          [](const Loan& a, const Loan& b) { return a.lastUse < b.lastUse; });
    std::this_thread::sleep_until(oldest.lastUse + kRebindPause);
    Bind(oldest.keycode, keysym);
    oldest.keysym = keysym;
    oldest.lastUse = Clock::now();
    return oldest.keycode;
}

void SpareKeycodes::GiveBackAll() {
    for (const Loan& loan : loans_) {
        Bind(loan.keycode, NoSymbol);
        keymap_.SetLent(loan.keycode, false);
    }
    loans_.clear();
}

// The keysym goes on both levels: alone, a capital would get its small
// letter put before it. Returns once the server has the new binding, before
// any key event sent after it: clients learn of the change before they see
// those events.
void SpareKeycodes::Bind(KeyCode keycode, KeySym keysym) {
    if (keysym != NoSymbol) {
        record_.Note(keycode, keysym);
    }
    KeySym levels[] = {keysym, keysym};
    XChangeKeyboardMapping(connection_.get(), keycode, 2, levels, 1);
    if (keysym == NoSymbol) {
        record_.Note(keycode, NoSymbol);
    }
    XSync(connection_.get(), False);
}

}  // namespace tavro::x11
