#include "platform/x11/SpareKeycodes.h"

#include <X11/XKBlib.h>

#include <algorithm>
#include <memory>
#include <thread>

#include "platform/x11/X11Keymap.h"
#include "platform/x11/XConnection.h"

namespace tavro::x11 {

namespace {

struct XkbDescDeleter {
    void operator()(XkbDescPtr description) const { XkbFreeKeyboard(description, 0, True); }
};

template <typename Range, typename Value>
bool Contains(const Range& range, const Value& value) {
    return std::find(std::begin(range), std::end(range), value) != std::end(range);
}

}  // namespace

SpareKeycodes::SpareKeycodes(XConnection& connection, X11Keymap& keymap)
    : connection_(connection),
      keymap_(keymap),
      record_(connection),
      ping_(DisplayString(connection.get())) {}

SpareKeycodes::~SpareKeycodes() {
    GiveBackAll();
}

void SpareKeycodes::Announce(std::vector<KeySym> keysyms) {
    announced_ = std::move(keysyms);
}

bool SpareKeycodes::Types(KeySym keysym) const {
    return std::any_of(loans_.begin(), loans_.end(),
                       [keysym](const Loan& loan) { return loan.keysym == keysym; });
}

KeyCode SpareKeycodes::Lend(KeySym keysym) {
    const auto find = [&] {
        return std::find_if(loans_.begin(), loans_.end(),
                            [keysym](const Loan& loan) { return loan.keysym == keysym; });
    };
    auto loan = find();
    if (loan == loans_.end()) {
        BindBatch(keysym);
        loan = find();
        if (loan == loans_.end()) {
            return 0;
        }
    }
    loan->lastUse = Clock::now();
    typedSinceChange_ = true;
    return loan->keycode;
}

// A twin needs no wait: its keycode was bound to nothing, so no key typed
// before can turn into its keysym. It takes the highest unused keycode:
// clients that look for a key of the keysym (XKeysymToKeycode, xdotool)
// find the lowest, most likely the original.
bool SpareKeycodes::MakeTwin(KeyCode original, KeySym keysym) {
    if (BoundTwin(original, keysym) != 0) {
        return true;
    }
    const std::vector<KeyCode> unused = Unused();
    if (unused.size() < 2) {
        return false;
    }
    const KeyCode keycode = *std::max_element(unused.begin(), unused.end());
    keymap_.SetLent(keycode, true);
    keymap_.SetTwin(keycode, original);
    twins_.push_back({keycode, original, keysym});
    Bind({{keycode, keysym}});
    return true;
}

KeyCode SpareKeycodes::TwinOf(KeyCode original, KeySym keysym) {
    const KeyCode twin = BoundTwin(original, keysym);
    twinTyped_ = twinTyped_ || twin != 0;
    return twin;
}

bool SpareKeycodes::TwinKeysHandled() {
    if (!twinTyped_) {
        return true;
    }
    XSync(connection_.get(), False);
    return ping_.PingFocusedApplication(kRebindPause);
}

KeyCode SpareKeycodes::BoundTwin(KeyCode original, KeySym keysym) {
    // A keymap loaded meanwhile (setxkbmap) has bound the keycode anew.
    std::erase_if(twins_, [&](const TwinLoan& twin) {
        const bool replaced = keymap_.KeysymOf(twin.keycode, 0) != twin.keysym;
        if (replaced) {
            keymap_.SetLent(twin.keycode, false);
        }
        return replaced;
    });
    for (const TwinLoan& twin : twins_) {
        if (twin.original == original && twin.keysym == keysym) {
            return twin.keycode;
        }
    }
    return 0;
}

void SpareKeycodes::GiveBackLoans() {
    std::vector<KeyCode> lent;
    for (const Loan& loan : loans_) {
        lent.push_back(loan.keycode);
    }
    GiveBack(lent);
    loans_.clear();
    typedSinceChange_ = false;
    twinTyped_ = false;
}

void SpareKeycodes::GiveBackAll() {
    std::vector<KeyCode> lent;
    for (const TwinLoan& twin : twins_) {
        lent.push_back(twin.keycode);
    }
    for (const Loan& loan : loans_) {
        lent.push_back(loan.keycode);
    }
    GiveBack(lent);
    twins_.clear();
    loans_.clear();
    typedSinceChange_ = false;
    twinTyped_ = false;
}

void SpareKeycodes::GiveBack(const std::vector<KeyCode>& keycodes) {
    std::vector<KeyBinding> unbound;
    for (const KeyCode keycode : keycodes) {
        unbound.emplace_back(keycode, NoSymbol);
        keymap_.SetLent(keycode, false);
    }
    Bind(unbound);
}

std::vector<KeyCode> SpareKeycodes::Unused() {
    if (loans_.empty()) {
        spare_ = keymap_.UnboundKeycodes();
    }
    std::vector<KeyCode> unused;
    for (const KeyCode keycode : spare_) {
        if (!Taken(keycode)) {
            unused.push_back(keycode);
        }
    }
    return unused;
}

bool SpareKeycodes::Taken(KeyCode keycode) const {
    return std::any_of(loans_.begin(), loans_.end(),
                       [keycode](const Loan& loan) { return loan.keycode == keycode; }) ||
           std::any_of(twins_.begin(), twins_.end(),
                       [keycode](const TwinLoan& twin) { return twin.keycode == keycode; });
}

// Binds the keysym and the ones announced after it, as many as there are
// spare keycodes, in one change. Keycodes whose keysyms come up among the
// announced ones keep them; unused keycodes are taken first, then the ones
// used longest ago.
void SpareKeycodes::BindBatch(KeySym first) {
    const auto announced = std::find(announced_.begin(), announced_.end(), first);
    const std::vector<KeySym> ahead(announced, announced_.end());

    const std::vector<KeyCode> unused = Unused();
    std::vector<std::size_t> reusable;
    for (std::size_t i = 0; i < loans_.size(); ++i) {
        if (!Contains(ahead, loans_[i].keysym)) {
            reusable.push_back(i);
        }
    }
    std::sort(reusable.begin(), reusable.end(),
              [&](std::size_t a, std::size_t b) { return loans_[a].lastUse < loans_[b].lastUse; });

    std::vector<KeySym> wanted{first};
    for (const KeySym keysym : ahead) {
        if (!Types(keysym) && !Contains(wanted, keysym)) {
            wanted.push_back(keysym);
        }
    }
    wanted.resize(std::min(wanted.size(), unused.size() + reusable.size()));
    if (wanted.size() > unused.size() && typedSinceChange_) {
        const Loan& lastRebound = loans_[reusable[wanted.size() - unused.size() - 1]];
        WaitUntilTheApplicationHasTheKeys(lastRebound.lastUse);
    }
    const Clock::time_point now = Clock::now();
    std::vector<KeyBinding> bindings;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        if (i < unused.size()) {
            keymap_.SetLent(unused[i], true);
            loans_.push_back({unused[i], wanted[i], now});
            bindings.emplace_back(unused[i], wanted[i]);
        } else {
            Loan& loan = loans_[reusable[i - unused.size()]];
            loan.keysym = wanted[i];
            loan.lastUse = now;
            bindings.emplace_back(loan.keycode, loan.keysym);
        }
    }
    Bind(bindings);
    typedSinceChange_ = false;
}

// The keycodes to bind anew were used until `lastUse`.
void SpareKeycodes::WaitUntilTheApplicationHasTheKeys(Clock::time_point lastUse) {
    XSync(connection_.get(), False);
    if (!ping_.PingFocusedApplication(kRebindPause)) {
        std::this_thread::sleep_until(lastUse + kRebindPause);
    }
}

// The keysym goes on both levels of a two-level key: then Shift does not
// change it, and a capital stays a capital. The keys between the first and
// the last keycode are sent unchanged as the server has them. Returns once
// the server has the new bindings, before any key event sent after them:
// clients learn of the change before they see those events. New bindings
// are noted before they are made, bindings that end after they have.
void SpareKeycodes::Bind(const std::vector<KeyBinding>& bindings) {
    if (bindings.empty()) {
        return;
    }
    Display* display = connection_.get();
    const std::unique_ptr<XkbDescRec, XkbDescDeleter> xkb(
        XkbGetMap(display, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd));
    if (!xkb) {
        return;
    }
    std::vector<KeyBinding> made;
    std::vector<KeyBinding> ended;
    for (const KeyBinding& binding : bindings) {
        (binding.second == NoSymbol ? ended : made).push_back(binding);
    }
    record_.Note(made);
    KeyCode first = bindings.front().first;
    KeyCode last = first;
    for (const auto& [keycode, keysym] : bindings) {
        if (keysym == NoSymbol) {
            XkbChangeTypesOfKey(xkb.get(), keycode, 0, XkbGroup1Mask, nullptr, nullptr);
        } else {
            int types[XkbNumKbdGroups] = {XkbTwoLevelIndex};
            XkbChangeTypesOfKey(xkb.get(), keycode, 1, XkbGroup1Mask, types, nullptr);
            KeySym* levels = XkbResizeKeySyms(xkb.get(), keycode, 2);
            levels[0] = keysym;
            levels[1] = keysym;
        }
        first = std::min(first, keycode);
        last = std::max(last, keycode);
    }
    XkbMapChangesRec changes{};
    changes.changed = XkbKeySymsMask;
    changes.first_key_sym = first;
    changes.num_key_syms = static_cast<unsigned char>(last - first + 1);
    XkbChangeMap(display, xkb.get(), &changes);
    record_.Note(ended);
    XSync(display, False);
}

}  // namespace tavro::x11
