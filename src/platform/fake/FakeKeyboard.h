#pragma once

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
// unless a test scripts other answers. Sent events can be echoed back to the
// sink, as the real hook reports them.
class FakeKeyboard final : public KeyboardHook, public KeyInjector, public KeyboardLayout {
  public:
    explicit FakeKeyboard(CallLog& log) : log_(log) {}

    // Feeding key events, as the user presses keys.
    void KeyDown(std::uint32_t keyCode, std::int16_t keystate = 0);
    void KeyUp(std::uint32_t keyCode);
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

    // Scripting the layout.
    void SetVkKeyScan(char16_t c, std::int16_t answer) { vkKeyScanOverrides_[c] = answer; }
    void SetToAscii(std::uint32_t virtualKey, char16_t character) {
        toAsciiOverrides_[virtualKey] = character;
    }

    // KeyboardHook
    void Start(KeyEventSink& sink) override { sink_ = &sink; }
    void Stop() override { sink_ = nullptr; }

    // KeyInjector
    void keybd_event(std::uint8_t virtualKey, std::uint8_t scanCode, std::uint32_t flags,
                     std::uintptr_t extraInfo) override;
    void TypeCharacter(char32_t codePoint) override;

    // KeyboardLayout
    KeyboardState GetKeyboardState() override;
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
        std::uint32_t keyCode;
        std::int16_t keystate;
    };

    CallLog& log_;
    KeyEventSink* sink_ = nullptr;
    bool echo_ = false;
    std::deque<SentKey> sent_;
    std::map<char16_t, std::int16_t> vkKeyScanOverrides_;
    std::map<std::uint32_t, char16_t> toAsciiOverrides_;
};

}  // namespace tavro::fake
