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

void SpareKeycodes::GiveBackAll() {
    std::vector<KeyBinding> unbound;
    for (const Loan& loan : loans_) {
        unbound.emplace_back(loan.keycode, NoSymbol);
        keymap_.SetLent(loan.keycode, false);
    }
    Bind(unbound);
    loans_.clear();
    typedSinceChange_ = false;
}

// Binds the keysym and the ones announced after it, as many as there are
// spare keycodes, in one change. Keycodes whose keysyms come up among the
// announced ones keep them; unused keycodes are taken first, then the ones
// used longest ago.
void SpareKeycodes::BindBatch(KeySym first) {
    if (loans_.empty()) {
        spare_ = keymap_.UnboundKeycodes();
    }
    const auto announced = std::find(announced_.begin(), announced_.end(), first);
    const std::vector<KeySym> ahead(announced, announced_.end());

    std::vector<KeyCode> unused;
    for (const KeyCode keycode : spare_) {
        if (std::none_of(loans_.begin(), loans_.end(),
                         [keycode](const Loan& loan) { return loan.keycode == keycode; })) {
            unused.push_back(keycode);
        }
    }
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
