#pragma once

#include <X11/Xlib.h>

#include <map>
#include <utility>
#include <vector>

namespace tavro::x11 {

class XConnection;

// A keycode and the keysym it is bound to; NoSymbol: bound to nothing.
using KeyBinding = std::pair<KeyCode, KeySym>;

// A note, kept on the root window, of the keycodes this program has bound
// to keysyms for the time being (SpareKeycodes), so that a program that
// ends without giving them back (killed, crashed) leaves no trace for long:
// the next one to start gives them back.
//
// Each program writes a property of its own, named after a window it makes
// for the purpose, which names itself in a property of the same name. The
// server destroys that window when the program's connection closes, however
// the program ends: a note whose window is gone (or whose number now belongs
// to a window that does not name itself so) is a leftover. A keycode named
// in a leftover is given back only while it is still bound to the noted
// keysym and nothing else — the program took only keycodes the keymap left
// unbound, so such a binding is its own, and whatever another program or
// the user bound since stays as it is. Both the note and the keymap live as
// long as the X server.
class LentKeycodeRecord {
  public:
    // Gives back what programs that have ended left noted, then starts a
    // note of its own.
    explicit LentKeycodeRecord(XConnection& connection);
    ~LentKeycodeRecord();
    LentKeycodeRecord(const LentKeycodeRecord&) = delete;
    LentKeycodeRecord& operator=(const LentKeycodeRecord&) = delete;

    // Notes that the keycodes are bound to the keysyms from now on; those
    // bound to NoSymbol, that they are unbound again. Sent with the next
    // request that reaches the server: note a binding before making it, and
    // its end after.
    void Note(const std::vector<KeyBinding>& bindings);

  private:
    void GiveBackLeftovers();
    void GiveBack(Atom note);
    bool BoundAloneTo(KeyCode keycode, KeySym keysym) const;
    Display* display() const;

    XConnection& connection_;
    Window window_ = None;
    Atom note_ = None;
    std::map<KeyCode, KeySym> lent_;
};

}  // namespace tavro::x11
