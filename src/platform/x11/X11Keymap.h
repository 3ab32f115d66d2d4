#pragma once

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/x11/VirtualKeyCodes.h"
#include "platform/x11/XConnection.h"

namespace tavro::x11 {

// The X server's keymap in the terms of Windows keys: for every keycode its
// virtual key and PC scan code, and for every character the key that types
// it, in the current keyboard group. Follows the server's mapping and group
// changes; keycodes lent to characters (SpareKeycodes) are left out.
class X11Keymap final : private XEventListener {
  public:
    struct Key {
        // The virtual key, with Num Lock on for the numeric keypad.
        std::uint8_t virtualKey = kNoVirtualKey;
        // Differs from virtualKey on the numeric keypad (End for 1, ...).
        std::uint8_t virtualKeyWithoutNumLock = kNoVirtualKey;
        PcKey pc;
    };

    // A key that types a character, and the core modifiers it takes.
    struct CharacterKey {
        KeyCode keycode = 0;
        unsigned int modifiers = 0;
        bool capsLockChangesIt = false;
    };

    explicit X11Keymap(XConnection& connection);
    ~X11Keymap();
    X11Keymap(const X11Keymap&) = delete;
    X11Keymap& operator=(const X11Keymap&) = delete;

    const Key& KeyOf(KeyCode keycode);
    // The keycode of the key with this virtual key; 0 when there is none.
    // Main-block keys come before the numeric keypad.
    KeyCode KeycodeOf(std::uint8_t virtualKey);
    // The key that gives Ctrl with this letter's virtual key ('A' to 'Z') its
    // meaning as a shortcut: X applications look for the small letter's
    // keysym on the key, in any group. The key of the virtual key when it
    // carries the letter in some group, else another key that does; 0 when
    // no key does (a Russian layout alone).
    KeyCode ShortcutKeycodeOf(std::uint8_t letterKey);
    // The keycode of the key at this place of a PC keyboard; 0 when none.
    KeyCode KeycodeAt(PcKey place);
    // The key that types `c` with the fewest modifiers, outside the numeric
    // keypad when possible.
    std::optional<CharacterKey> KeyTyping(char32_t c);
    // What the key types with these core modifiers; 0 for no character.
    char32_t CharacterOf(KeyCode keycode, unsigned int modifiers);

    unsigned int NumLockMask();
    // The modifier of AltGr.
    unsigned int LevelThreeMask();
    int Group();
    // Whether the keymap binds the keycode to anything.
    bool Binds(KeyCode keycode);
    // Keycodes the keymap binds to nothing, but for the spacer.
    std::vector<KeyCode> UnboundKeycodes();
    // A keycode the keymap binds to nothing, kept for keys that type nothing
    // (the highest such keycode: the high ones stand for no key of a PC
    // keyboard); 0 when every keycode is bound.
    KeyCode SpacerKeycode();
    void SetLent(KeyCode keycode, bool lent);

  private:
    struct XkbDescDeleter {
        void operator()(XkbDescPtr description) const;
    };

    void OnXEvent(const XEvent& event) override;
    void RefreshIfStale();
    void Fetch();
    void BuildTables();
    KeySym KeysymAt(KeyCode keycode, int level) const;
    bool CarriesUnshifted(KeyCode keycode, KeySym keysym) const;
    std::optional<unsigned int> ModifiersOfLevel(KeyCode keycode, int level) const;
    bool IsFree(int keycode) const;

    XConnection& connection_;
    int xkbEventBase_ = 0;
    bool mapStale_ = true;
    bool tablesStale_ = true;
    std::unique_ptr<XkbDescRec, XkbDescDeleter> xkb_;
    int group_ = 0;
    unsigned int numLockMask_ = 0;
    unsigned int levelThreeMask_ = 0;
    std::array<Key, 256> keys_{};
    std::array<KeyCode, 256> keycodeOfVirtualKey_{};
    // By scan code, for keys without and with the extended bit.
    std::array<std::array<KeyCode, 256>, 2> keycodeOfPlace_{};
    std::unordered_map<char32_t, CharacterKey> characterKeys_;
    std::bitset<256> lent_;
};

}  // namespace tavro::x11
