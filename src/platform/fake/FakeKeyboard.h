#pragma once

#include <bitset>
#include <cstdint>
#include <deque>
#include <map>
#include <string_view>

#include "platform/KeyInjector.h"
#include "platform/KeyboardHook.h"
#include "platform/KeyboardLayout.h"

namespace tavro::fake {

class CallLog;

// The key code that characters typed without a key of the layout come back
// with (VK_PACKET).
inline constexpr std::uint32_t kPacketKey = 0xE7;

// A US keyboard: feeds key events to the hook's sink, records the key events
// the program sends, and answers the layout queries as a US layout does
// unless a test scripts other answers. Like a real keyboard it knows which
// keys are down (the user's and the program's alike) and whether Caps Lock
// is on, and every event carries the modifiers in effect. Sent events can be
// echoed back to the sink marked as the program's own, as the real hook
// reports them.
class FakeKeyboard final : public KeyboardHook, public KeyInjector, public KeyboardLayout {
  public:
    explicit FakeKeyboard(CallLog& log) : log_(log) {}

    // Feeding key events, as the user presses keys. The keystate carries the
    // scan code and the extended bit (0x138 is AltGr).
    void KeyDown(std::uint32_t keyCode, std::int16_t keystate = 0);
    void KeyUp(std::uint32_t keyCode, std::int16_t keystate = 0);
    void Press(std::uint32_t keyCode);
    // Types US-keyboard text key by key, with Shift around the characters
    // that need it.
    void Type(std::u16string_view text);

    // Echo: the key events the program sends are queued, and delivered to the
    // sink by DeliverSentKeys (as the hook reports them once the program
    // returns to its event loop). Returns how many were delivered; stops after
    // `limit`.
    void SetEchoSentKeys(bool echo) { echo_ = echo; }
    int DeliverSentKeys(int limit = 100000);
    // The sent key events not delivered yet; one of them can be lost, or
    // delivered ahead of the others.
    std::size_t SentKeysWaiting() const { return sent_.size(); }
    void DropSentKey(std::size_t index);
    void DeliverSentKey(std::size_t index);
    // A broken platform that reports the program's keys as the user's.
    void SetEchoAsUserKeys(bool asUser) { echoAsUser_ = asUser; }

    // Scripting the layout.
    void SetVkKeyScan(char16_t c, std::int16_t answer) { vkKeyScanOverrides_[c] = answer; }
    // The key types `character` whatever the modifiers.
    void SetToAscii(std::uint32_t virtualKey, char32_t character) {
        SetToAscii(virtualKey, character, character, character);
    }
    // The key types these characters alone, with Shift and with AltGr (0
    // for none).
    void SetToAscii(std::uint32_t virtualKey, char32_t plain, char32_t shifted, char32_t altGr) {
        toAsciiOverrides_[virtualKey] = {plain, shifted, altGr};
    }

    // KeyboardHook
    void Start(KeyEventSink& sink) override { sink_ = &sink; }
    void Stop() override { sink_ = nullptr; }

    // KeyInjector
    void keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                     std::uintptr_t extraInfo) override;
    void TypeCharacter(char32_t codePoint) override;
    void PrepareToType(const std::u32string& characters) override;
    void KeepToWindow(WindowHandle window) override;
    void PauseSending() override;

    // KeyboardLayout
    KeyboardLayoutHandle GetKeyboardLayout() override;
    std::uint32_t MapVirtualKeyExA(std::uint32_t code, std::uint32_t mapType,
                                   KeyboardLayoutHandle layout) override;
    int ToAscii(std::uint32_t virtualKey, std::uint32_t scanCode, const KeyboardState& state,
                std::uint32_t& output, std::uint32_t flags) override;
    std::int16_t VkKeyScanA(char16_t c) override;
    char16_t CharToOemA(char16_t c) override;
    std::uint32_t OemKeyScan(char16_t oemCharacter) override;

  private:
    struct SentKey {
        bool down;
        KeyEvent event;
    };
    struct LevelCharacters {
        char32_t plain;
        char32_t shifted;
        char32_t altGr;
    };

    // The key goes down or up on the keyboard; returns the event the hook
    // reports for it.
    KeyEvent Change(std::uint32_t keyCode, std::int16_t keystate, bool down, KeyOrigin origin);
    void Report(const SentKey& key);

    CallLog& log_;
    KeyEventSink* sink_ = nullptr;
    bool echo_ = false;
    bool echoAsUser_ = false;
    std::deque<SentKey> sent_;
    std::bitset<256> down_;
    bool rightAltDown_ = false;
    bool capsLock_ = false;
    std::map<char16_t, std::int16_t> vkKeyScanOverrides_;
    std::map<std::uint32_t, LevelCharacters> toAsciiOverrides_;
};

}  // namespace tavro::fake
