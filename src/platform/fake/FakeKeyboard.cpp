#include "platform/fake/FakeKeyboard.h"

#include <array>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/fake/CallLog.h"
#include "text/Utf16.h"

namespace tavro::fake {

namespace {

// One character of the US layout: its virtual key, whether it needs Shift,
// and the key's scan code.
struct UsKey {
    char16_t character;
    std::uint8_t virtualKey;
    bool shift;
    std::uint8_t scanCode;
};

constexpr std::u16string_view kQwertyRows[] = {u"qwertyuiop", u"asdfghjkl", u"zxcvbnm"};
constexpr std::uint8_t kQwertyRowScans[] = {0x10, 0x1E, 0x2C};
constexpr std::u16string_view kShiftedDigits = u")!@#$%^&*(";

constexpr UsKey kPunctuation[] = {
    {u';', 0xBA, false, 0x27},  {u':', 0xBA, true, 0x27},   {u'=', 0xBB, false, 0x0D},
    {u'+', 0xBB, true, 0x0D},   {u',', 0xBC, false, 0x33},  {u'<', 0xBC, true, 0x33},
    {u'-', 0xBD, false, 0x0C},  {u'_', 0xBD, true, 0x0C},   {u'.', 0xBE, false, 0x34},
    {u'>', 0xBE, true, 0x34},   {u'/', 0xBF, false, 0x35},  {u'?', 0xBF, true, 0x35},
    {u'`', 0xC0, false, 0x29},  {u'~', 0xC0, true, 0x29},   {u'[', 0xDB, false, 0x1A},
    {u'{', 0xDB, true, 0x1A},   {u'\\', 0xDC, false, 0x2B}, {u'|', 0xDC, true, 0x2B},
    {u']', 0xDD, false, 0x1B},  {u'}', 0xDD, true, 0x1B},   {u'\'', 0xDE, false, 0x28},
    {u'"', 0xDE, true, 0x28},   {u' ', 0x20, false, 0x39},  {u'\r', 0x0D, false, 0x1C},
    {u'\b', 0x08, false, 0x0E}, {u'\t', 0x09, false, 0x0F},
};

std::optional<UsKey> FindUsKey(char16_t c) {
    for (std::size_t row = 0; row < std::size(kQwertyRows); ++row) {
        const auto column = kQwertyRows[row].find(c >= u'A' && c <= u'Z' ? c + 0x20 : c);
        if (column != std::u16string_view::npos) {
            const char16_t lower = kQwertyRows[row][column];
            return UsKey{c, static_cast<std::uint8_t>(lower - 0x20), c != lower,
                         static_cast<std::uint8_t>(kQwertyRowScans[row] + column)};
        }
    }
    if (c >= u'0' && c <= u'9') {
        return UsKey{c, static_cast<std::uint8_t>(c), false,
                     static_cast<std::uint8_t>(c == u'0' ? 0x0B : c - u'1' + 0x02)};
    }
    if (const auto digit = kShiftedDigits.find(c); digit != std::u16string_view::npos) {
        return UsKey{c, static_cast<std::uint8_t>(u'0' + digit), true,
                     static_cast<std::uint8_t>(digit == 0 ? 0x0B : digit - 1 + 0x02)};
    }
    for (const UsKey& key : kPunctuation) {
        if (key.character == c) {
            return key;
        }
    }
    return std::nullopt;
}

// The characters of the US layout's keys, unshifted and shifted, by virtual
// key; 0 where a key gives none.
struct UsCharacters {
    std::array<char16_t, 256> unshifted{};
    std::array<char16_t, 256> shifted{};
};

const UsCharacters& UsCharactersByKey() {
    static const UsCharacters characters = [] {
        UsCharacters table;
        for (char16_t c = 1; c < 0x80; ++c) {
            if (const auto key = FindUsKey(c)) {
                (key->shift ? table.shifted : table.unshifted)[key->virtualKey] = c;
            }
        }
        for (std::uint8_t key = 0x60; key <= 0x69; ++key) {  // keypad digits, Num Lock on
            table.unshifted[key] = table.shifted[key] = static_cast<char16_t>(u'0' + key - 0x60);
        }
        return table;
    }();
    return characters;
}

std::optional<char16_t> UsCharacter(std::uint32_t virtualKey, bool shift) {
    if (virtualKey > 0xFF) {
        return std::nullopt;
    }
    const char16_t c =
        (shift ? UsCharactersByKey().shifted : UsCharactersByKey().unshifted)[virtualKey];
    return c == 0 ? std::nullopt : std::optional<char16_t>(c);
}

std::string Number(std::int64_t value) {
    return std::to_string(value);
}

}  // namespace

KeyEvent FakeKeyboard::Change(std::uint32_t keyCode, std::int16_t keystate, bool down,
                              KeyOrigin origin) {
    constexpr std::uint32_t kShift = 16;
    constexpr std::uint32_t kCtrl = 17;
    constexpr std::uint32_t kAlt = 18;
    constexpr std::uint32_t kCapsLock = 20;
    constexpr std::uint16_t kExtended = 0x100;
    // The modifiers before the change, as a real event carries them.
    const KeyEvent event{.keyCode = keyCode,
                         .keystate = keystate,
                         .level = {.shift = down_[kShift],
                                   .capsLock = capsLock_,
                                   .altGr = rightAltDown_ || (down_[kCtrl] && down_[kAlt])},
                         .origin = origin};
    if (keyCode < down_.size()) {
        if (down && keyCode == kCapsLock && !down_[kCapsLock]) {
            capsLock_ = !capsLock_;
        }
        down_[keyCode] = down;
    }
    if (keyCode == kAlt && (static_cast<std::uint16_t>(keystate) & kExtended) != 0) {
        rightAltDown_ = down;
    }
    return event;
}

void FakeKeyboard::KeyDown(std::uint32_t keyCode, std::int16_t keystate) {
    if (sink_ == nullptr) {
        throw std::logic_error("key event before the hook was started");
    }
    sink_->KeyDownHook(Change(keyCode, keystate, true, KeyOrigin::User));
}

void FakeKeyboard::KeyUp(std::uint32_t keyCode, std::int16_t keystate) {
    if (sink_ == nullptr) {
        throw std::logic_error("key event before the hook was started");
    }
    sink_->KeyUpHook(Change(keyCode, keystate, false, KeyOrigin::User));
}

void FakeKeyboard::Press(std::uint32_t keyCode) {
    KeyDown(keyCode);
    KeyUp(keyCode);
}

void FakeKeyboard::Type(std::u16string_view text) {
    constexpr std::uint32_t kShift = 16;
    for (char16_t c : text) {
        const auto key = FindUsKey(c);
        if (!key) {
            throw std::invalid_argument("no US key types this character");
        }
        if (key->shift) {
            KeyDown(kShift);
        }
        KeyDown(key->virtualKey, key->scanCode);
        KeyUp(key->virtualKey, key->scanCode);
        if (key->shift) {
            KeyUp(kShift);
        }
    }
}

void FakeKeyboard::Report(const SentKey& key) {
    if (sink_ == nullptr) {
        return;
    }
    if (key.down) {
        sink_->KeyDownHook(key.event);
    } else {
        sink_->KeyUpHook(key.event);
    }
}

int FakeKeyboard::DeliverSentKeys(int limit) {
    int delivered = 0;
    while (!sent_.empty() && delivered < limit && sink_ != nullptr) {
        const SentKey key = sent_.front();
        sent_.pop_front();
        ++delivered;
        Report(key);
    }
    return delivered;
}

void FakeKeyboard::DropSentKey(std::size_t index) {
    sent_.erase(sent_.begin() + static_cast<std::ptrdiff_t>(index));
}

void FakeKeyboard::DeliverSentKey(std::size_t index) {
    const SentKey key = sent_.at(index);
    DropSentKey(index);
    Report(key);
}

void FakeKeyboard::keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                               std::uintptr_t extraInfo) {
    log_.Record([&] {
        return FormatCall("keybd_event", {Number(virtualKey), Number(scanCode), Number(flags),
                                          Number(static_cast<std::int64_t>(extraInfo))});
    });
    const bool down = (flags & kKeyEventKeyUp) == 0;
    const auto keystate =
        static_cast<std::int16_t>(scanCode | ((flags & kKeyEventExtendedKey) != 0 ? 0x100 : 0));
    const KeyEvent event =
        Change(virtualKey, keystate, down, echoAsUser_ ? KeyOrigin::User : KeyOrigin::Own);
    if (echo_) {
        sent_.push_back({down, event});
    }
}

void FakeKeyboard::TypeCharacter(char32_t codePoint) {
    log_.Record([&] { return FormatCall("TypeCharacter", {Number(codePoint)}); });
    if (echo_) {
        const KeyOrigin origin = echoAsUser_ ? KeyOrigin::User : KeyOrigin::Own;
        sent_.push_back(
            {true, KeyEvent{.keyCode = kPacketKey, .keystate = 0, .level = {}, .origin = origin}});
        sent_.push_back(
            {false, KeyEvent{.keyCode = kPacketKey, .keystate = 0, .level = {}, .origin = origin}});
    }
}

void FakeKeyboard::PrepareToType(const std::u32string& characters) {
    log_.Record([&] {
        std::string call = "PrepareToType(";
        for (std::size_t i = 0; i < characters.size(); ++i) {
            call += (i > 0 ? "," : "") + Number(characters[i]);
        }
        return call + ")";
    });
}

KeyboardLayoutHandle FakeKeyboard::GetKeyboardLayout() {
    log_.Record([&] { return std::string("GetKeyboardLayout()"); });
    return 0x04090409;
}

std::uint32_t FakeKeyboard::MapVirtualKeyExA(std::uint32_t code, std::uint32_t mapType,
                                             KeyboardLayoutHandle layout) {
    log_.Record([&] {
        return FormatCall("MapVirtualKeyExA", {Number(code), Number(mapType),
                                               Number(static_cast<std::int64_t>(layout))});
    });
    const auto character = UsCharacter(code, false);
    const auto key = character ? FindUsKey(*character) : std::nullopt;
    return key ? key->scanCode : 0;
}

void FakeKeyboard::KeepToWindow(WindowHandle window) {
    log_.Record([&] { return FormatCall("KeepToWindow", {Number(window)}); });
}

void FakeKeyboard::PauseSending() {
    log_.Record([&] { return std::string("PauseSending()"); });
}

// Shift and Caps Lock as a US layout takes them; AltGr types nothing on it.
int FakeKeyboard::ToAscii(std::uint32_t virtualKey, std::uint32_t scanCode,
                          const KeyboardState& state, std::uint32_t& output, std::uint32_t flags) {
    log_.Record([&] {
        return FormatCall("ToAscii", {Number(virtualKey), Number(scanCode), Number(flags)});
    });
    constexpr std::size_t kShift = 16;
    constexpr std::size_t kCtrl = 17;
    constexpr std::size_t kAlt = 18;
    constexpr std::size_t kCapsLock = 20;
    const bool shift = (state[kShift] & 0x80) != 0;
    const bool altGr = (state[kCtrl] & 0x80) != 0 && (state[kAlt] & 0x80) != 0;
    char32_t character = 0;
    if (const auto found = toAsciiOverrides_.find(virtualKey); found != toAsciiOverrides_.end()) {
        const LevelCharacters& levels = found->second;
        character = altGr ? levels.altGr : (shift ? levels.shifted : levels.plain);
    } else if (!altGr) {
        const bool letter = virtualKey >= 'A' && virtualKey <= 'Z';
        const bool capsLock = (state[kCapsLock] & 0x01) != 0;
        // Keys that Shift does not change (space, Enter) type the same.
        character = UsCharacter(virtualKey, letter ? shift != capsLock : shift)
                        .value_or(UsCharacter(virtualKey, false).value_or(0));
    }
    output = 0;
    return character == 0 ? 0 : PackUtf16(character, output);
}

std::int16_t FakeKeyboard::VkKeyScanA(char16_t c) {
    log_.Record([&] { return FormatCall("VkKeyScanA", {Number(c)}); });
    if (const auto found = vkKeyScanOverrides_.find(c); found != vkKeyScanOverrides_.end()) {
        return found->second;
    }
    const auto key = FindUsKey(c);
    return key ? static_cast<std::int16_t>((key->shift ? 0x100 : 0) | key->virtualKey) : -1;
}

char16_t FakeKeyboard::CharToOemA(char16_t c) {
    log_.Record([&] { return FormatCall("CharToOemA", {Number(c)}); });
    return c;
}

std::uint32_t FakeKeyboard::OemKeyScan(char16_t oemCharacter) {
    log_.Record([&] { return FormatCall("OemKeyScan", {Number(oemCharacter)}); });
    const auto key = FindUsKey(oemCharacter);
    return key ? ((key->shift ? 0x10000U : 0U) | key->scanCode) : 0xFFFFFFFFU;
}

}  // namespace tavro::fake
