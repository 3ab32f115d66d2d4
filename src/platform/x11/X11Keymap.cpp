#include "platform/x11/X11Keymap.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <xkbcommon/xkbcommon.h>

#include <stdexcept>

namespace tavro::x11 {

namespace {

constexpr unsigned int kMapParts = XkbKeyTypesMask | XkbKeySymsMask | XkbModifierMapMask;
constexpr unsigned int kMapEvents = XkbNewKeyboardNotifyMask | XkbMapNotifyMask;

}  // namespace

void X11Keymap::XkbDescDeleter::operator()(XkbDescPtr description) const {
    XkbFreeKeyboard(description, 0, True);
}

X11Keymap::X11Keymap(XConnection& connection) : connection_(connection) {
    Display* display = connection_.get();
    int opcode = 0;
    int errorBase = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (!XkbQueryExtension(display, &opcode, &xkbEventBase_, &errorBase, &major, &minor)) {
        throw std::runtime_error("the X server has no XKEYBOARD extension");
    }
    XkbSelectEvents(display, XkbUseCoreKbd, kMapEvents, kMapEvents);
    XkbSelectEventDetails(display, XkbUseCoreKbd, XkbStateNotify, XkbGroupStateMask,
                          XkbGroupStateMask);
    connection_.AddListener(*this);
}

X11Keymap::~X11Keymap() {
    connection_.RemoveListener(*this);
}

const X11Keymap::Key& X11Keymap::KeyOf(KeyCode keycode) {
    RefreshIfStale();
    return keys_[keycode];
}

KeyCode X11Keymap::KeycodeOf(std::uint8_t virtualKey) {
    RefreshIfStale();
    return keycodeOfVirtualKey_[virtualKey];
}

KeyCode X11Keymap::ShortcutKeycodeOf(std::uint8_t letterKey) {
    RefreshIfStale();
    const auto letter = static_cast<KeySym>(XK_a + (letterKey - 'A'));
    const KeyCode own = keycodeOfVirtualKey_[letterKey];
    if (own != 0 && CarriesUnshifted(own, letter)) {
        return own;
    }
    for (int keycode = xkb_->min_key_code; keycode <= xkb_->max_key_code; ++keycode) {
        if (!lent_[keycode] && CarriesUnshifted(static_cast<KeyCode>(keycode), letter)) {
            return static_cast<KeyCode>(keycode);
        }
    }
    return 0;
}

KeyCode X11Keymap::KeycodeAt(PcKey place) {
    RefreshIfStale();
    return keycodeOfPlace_[place.extended ? 1 : 0][place.scanCode];
}

std::optional<X11Keymap::CharacterKey> X11Keymap::KeyTyping(char32_t c) {
    RefreshIfStale();
    const auto found = characterKeys_.find(c);
    if (found == characterKeys_.end()) {
        return std::nullopt;
    }
    return found->second;
}

char32_t X11Keymap::CharacterOf(KeyCode keycode, unsigned int modifiers) {
    RefreshIfStale();
    unsigned int consumed = 0;
    KeySym keysym = NoSymbol;
    XkbTranslateKeyCode(xkb_.get(), keycode, XkbBuildCoreState(modifiers, group_), &consumed,
                        &keysym);
    return xkb_keysym_to_utf32(static_cast<xkb_keysym_t>(keysym));
}

unsigned int X11Keymap::NumLockMask() {
    RefreshIfStale();
    return numLockMask_;
}

unsigned int X11Keymap::LevelThreeMask() {
    RefreshIfStale();
    return levelThreeMask_;
}

int X11Keymap::Group() {
    RefreshIfStale();
    return group_;
}

bool X11Keymap::Binds(KeyCode keycode) {
    RefreshIfStale();
    return XkbKeyNumGroups(xkb_.get(), keycode) > 0;
}

std::vector<KeyCode> X11Keymap::UnboundKeycodes() {
    const KeyCode spacer = SpacerKeycode();
    std::vector<KeyCode> unbound;
    for (int keycode = xkb_->min_key_code; keycode <= xkb_->max_key_code; ++keycode) {
        if (keycode != spacer && IsFree(keycode)) {
            unbound.push_back(static_cast<KeyCode>(keycode));
        }
    }
    return unbound;
}

KeyCode X11Keymap::SpacerKeycode() {
    RefreshIfStale();
    for (int keycode = xkb_->max_key_code; keycode >= xkb_->min_key_code; --keycode) {
        if (IsFree(keycode)) {
            return static_cast<KeyCode>(keycode);
        }
    }
    return 0;
}

// Bound to nothing by the keymap, and not lent.
bool X11Keymap::IsFree(int keycode) const {
    return XkbKeyNumGroups(xkb_.get(), keycode) == 0 && !lent_[keycode];
}

void X11Keymap::SetLent(KeyCode keycode, bool lent) {
    lent_[keycode] = lent;
    tablesStale_ = true;
}

void X11Keymap::OnXEvent(const XEvent& event) {
    if (event.type == MappingNotify) {
        XRefreshKeyboardMapping(const_cast<XMappingEvent*>(&event.xmapping));
        mapStale_ = true;
        return;
    }
    if (event.type != xkbEventBase_) {
        return;
    }
    const auto& xkbEvent = reinterpret_cast<const XkbEvent&>(event);
    switch (xkbEvent.any.xkb_type) {
        case XkbMapNotify:
            XkbRefreshKeyboardMapping(const_cast<XkbMapNotifyEvent*>(&xkbEvent.map));
            mapStale_ = true;
            break;
        case XkbNewKeyboardNotify:
            mapStale_ = true;
            break;
        case XkbStateNotify:
            group_ = xkbEvent.state.group;
            tablesStale_ = true;
            break;
        default:
            break;
    }
}

void X11Keymap::RefreshIfStale() {
    connection_.ProcessRecentEvents();
    if (mapStale_) {
        Fetch();
    }
    if (tablesStale_) {
        BuildTables();
    }
}

void X11Keymap::Fetch() {
    Display* display = connection_.get();
    XkbDescPtr fetched = XkbGetMap(display, kMapParts, XkbUseCoreKbd);
    if (fetched == nullptr) {
        throw std::runtime_error("cannot read the keymap of the X server");
    }
    xkb_.reset(fetched);
    XkbStateRec state{};
    XkbGetState(display, XkbUseCoreKbd, &state);
    group_ = state.group;
    mapStale_ = false;
    tablesStale_ = true;
}

KeySym X11Keymap::KeysymAt(KeyCode keycode, int level) const {
    const int groups = XkbKeyNumGroups(xkb_.get(), keycode);
    if (groups == 0) {
        return NoSymbol;
    }
    const int group = group_ < groups ? group_ : 0;
    if (level >= XkbKeyGroupWidth(xkb_.get(), keycode, group)) {
        return NoSymbol;
    }
    return XkbKeySymEntry(xkb_.get(), keycode, level, group);
}

// Whether the key types the keysym without modifiers in one of its groups.
bool X11Keymap::CarriesUnshifted(KeyCode keycode, KeySym keysym) const {
    for (int group = 0; group < XkbKeyNumGroups(xkb_.get(), keycode); ++group) {
        if (XkbKeySymEntry(xkb_.get(), keycode, 0, group) == keysym) {
            return true;
        }
    }
    return false;
}

// The modifiers that select the level: those of the key type's entry for it,
// Shift rather than Lock where both lead there. std::nullopt when no entry
// leads there.
std::optional<unsigned int> X11Keymap::ModifiersOfLevel(KeyCode keycode, int level) const {
    if (level == 0) {
        return 0U;
    }
    const int groups = XkbKeyNumGroups(xkb_.get(), keycode);
    const int group = group_ < groups ? group_ : 0;
    const XkbKeyTypePtr type = XkbKeyKeyType(xkb_.get(), keycode, group);
    std::optional<unsigned int> modifiers;
    for (int i = 0; i < type->map_count; ++i) {
        const XkbKTMapEntryRec& entry = type->map[i];
        if (!entry.active || entry.level != level) {
            continue;
        }
        if (!modifiers || (*modifiers & LockMask) != 0) {
            modifiers = entry.mods.mask;
        }
    }
    return modifiers;
}

void X11Keymap::BuildTables() {
    keys_.fill(Key{});
    keycodeOfVirtualKey_.fill(0);
    for (auto& keycodes : keycodeOfPlace_) {
        keycodes.fill(0);
    }
    characterKeys_.clear();
    numLockMask_ = 0;
    levelThreeMask_ = 0;
    // Ranks the keys typing one character: keys of a PC keyboard before
    // others (such as the parenthesis keys of some laptops), the main block
    // before the keypad, then fewer levels up.
    std::unordered_map<char32_t, int> ranks;
    for (int code = xkb_->min_key_code; code <= xkb_->max_key_code; ++code) {
        const auto keycode = static_cast<KeyCode>(code);
        const KeySym base = KeysymAt(keycode, 0);
        if (base == XK_Num_Lock) {
            numLockMask_ |= xkb_->map->modmap[keycode];
        } else if (base == XK_ISO_Level3_Shift) {
            levelThreeMask_ |= xkb_->map->modmap[keycode];
        }
        if (lent_[keycode] || base == NoSymbol) {
            continue;
        }
        Key& key = keys_[keycode];
        key.pc = PcKeyOfKeycode(keycode);
        const std::uint8_t named = VirtualKeyOfKeysym(base);
        key.virtualKey = named != 0 ? named : VirtualKeyOfPlace(key.pc.scanCode);
        key.virtualKeyWithoutNumLock = key.virtualKey;
        const KeySym shifted = KeysymAt(keycode, 1);
        if (IsKeypadKey(shifted) && shifted != base) {
            key.virtualKey = VirtualKeyOfKeysym(shifted);
        }
        if (key.virtualKey != kNoVirtualKey && keycodeOfVirtualKey_[key.virtualKey] == 0) {
            keycodeOfVirtualKey_[key.virtualKey] = keycode;
        }
        KeyCode& atPlace = keycodeOfPlace_[key.pc.extended ? 1 : 0][key.pc.scanCode];
        if (key.pc.scanCode != 0 && atPlace == 0) {
            atPlace = keycode;
        }
        const int groups = XkbKeyNumGroups(xkb_.get(), keycode);
        const int group = group_ < groups ? group_ : 0;
        const int width = XkbKeyGroupWidth(xkb_.get(), keycode, group);
        const bool capsLock =
            (XkbKeyKeyType(xkb_.get(), keycode, group)->mods.mask & LockMask) != 0;
        for (int level = 0; level < width; ++level) {
            const KeySym keysym = KeysymAt(keycode, level);
            const char32_t c = xkb_keysym_to_utf32(static_cast<xkb_keysym_t>(keysym));
            const std::optional<unsigned int> modifiers = ModifiersOfLevel(keycode, level);
            if (c == 0 || !modifiers) {
                continue;
            }
            const int rank =
                (key.pc.scanCode == 0 ? 200 : 0) + (IsKeypadKey(keysym) ? 100 : 0) + level;
            const auto known = ranks.find(c);
            if (known == ranks.end() || rank < known->second) {
                ranks[c] = rank;
                characterKeys_[c] = {keycode, *modifiers, capsLock};
            }
        }
    }
    tablesStale_ = false;
}

}  // namespace tavro::x11
