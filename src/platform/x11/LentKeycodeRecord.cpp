#include "platform/x11/LentKeycodeRecord.h"

#include <X11/Xatom.h>

#include <charconv>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/x11/WindowProperties.h"
#include "platform/x11/XConnection.h"

namespace tavro::x11 {

namespace {

// Followed by the number of the writer's window in hexadecimal.
constexpr std::string_view kNotePrefix = "_TAVRO_LENT_KEYCODES_";

}  // namespace

LentKeycodeRecord::LentKeycodeRecord(XConnection& connection) : connection_(connection) {
    GiveBackLeftovers();
    window_ = XCreateWindow(display(), connection_.Root(), -1, -1, 1, 1, 0, CopyFromParent,
                            InputOnly, CopyFromParent, 0, nullptr);
    char number[2 * sizeof(Window)] = {};
    const auto written = std::to_chars(number, number + sizeof(number), window_, 16);
    const std::string name = std::string(kNotePrefix) + std::string(number, written.ptr);
    note_ = XInternAtom(display(), name.c_str(), False);
    // The window names itself, so that another program's window that gets
    // its number once it is gone is not taken for it.
    const unsigned long self = window_;
    XChangeProperty(display(), window_, note_, XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&self), 1);
    XFlush(display());
}

LentKeycodeRecord::~LentKeycodeRecord() {
    XDeleteProperty(display(), connection_.Root(), note_);
    XDestroyWindow(display(), window_);
    XFlush(display());
}

void LentKeycodeRecord::Note(const std::vector<KeyBinding>& bindings) {
    if (bindings.empty()) {
        return;
    }
    for (const auto& [keycode, keysym] : bindings) {
        if (keysym == NoSymbol) {
            lent_.erase(keycode);
        } else {
            lent_[keycode] = keysym;
        }
    }
    if (lent_.empty()) {
        XDeleteProperty(display(), connection_.Root(), note_);
        return;
    }
    std::vector<unsigned long> items;
    for (const auto& [lentKeycode, lentKeysym] : lent_) {
        items.push_back(lentKeycode);
        items.push_back(lentKeysym);
    }
    XChangeProperty(display(), connection_.Root(), note_, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(items.data()),
                    static_cast<int>(items.size()));
}

// The notes of programs whose window is gone.
void LentKeycodeRecord::GiveBackLeftovers() {
    int count = 0;
    Atom* properties = XListProperties(display(), connection_.Root(), &count);
    if (properties == nullptr) {
        return;
    }
    std::vector<char*> names(static_cast<std::size_t>(count), nullptr);
    if (count > 0 && XGetAtomNames(display(), properties, count, names.data()) != 0) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string_view name(names[i]);
            if (name.starts_with(kNotePrefix)) {
                const auto writer =
                    static_cast<Window>(std::strtoul(names[i] + kNotePrefix.size(), nullptr, 16));
                const std::vector<unsigned long> self =
                    ReadLongs(display(), writer, properties[i], XA_WINDOW);
                if (self.size() != 1 || self.front() != writer) {
                    GiveBack(properties[i]);
                }
            }
        }
    }
    for (char* name : names) {
        if (name != nullptr) {
            XFree(name);
        }
    }
    XFree(properties);
    XSync(display(), False);
}

void LentKeycodeRecord::GiveBack(Atom note) {
    const std::vector<unsigned long> items =
        ReadLongs(display(), connection_.Root(), note, XA_CARDINAL);
    for (std::size_t i = 0; i + 1 < items.size(); i += 2) {
        const auto keycode = static_cast<KeyCode>(items[i]);
        const auto keysym = static_cast<KeySym>(items[i + 1]);
        if (keysym != NoSymbol && BoundAloneTo(keycode, keysym)) {
            KeySym nothing[] = {NoSymbol, NoSymbol};
            XChangeKeyboardMapping(display(), keycode, 2, nothing, 1);
        }
    }
    XDeleteProperty(display(), connection_.Root(), note);
}

bool LentKeycodeRecord::BoundAloneTo(KeyCode keycode, KeySym keysym) const {
    int perKeycode = 0;
    KeySym* keysyms = XGetKeyboardMapping(display(), keycode, 1, &perKeycode);
    if (keysyms == nullptr) {
        return false;
    }
    bool bound = false;
    bool other = false;
    for (int i = 0; i < perKeycode; ++i) {
        bound = bound || keysyms[i] == keysym;
        other = other || (keysyms[i] != keysym && keysyms[i] != NoSymbol);
    }
    XFree(keysyms);
    return bound && !other;
}

Display* LentKeycodeRecord::display() const {
    return connection_.get();
}

}  // namespace tavro::x11
