#include "output/KeystrokeSender.h"

#include "capture/KeyVocabulary.h"
#include "capture/ModifierFlags.h"
#include "output/ReplacementTokens.h"
#include "platform/KeyInjector.h"
#include "platform/KeyboardLayout.h"
#include "platform/MainWindowCommands.h"
#include "text/TextCase.h"
#include "text/Utf16.h"

namespace tavro {

namespace {

constexpr std::u16string_view kShiftedChars = u"~!@#$%^&*()_+{}:<>?|\"";
constexpr std::int16_t kNoKey = -1;
// The V key, there on every layout, also where no key types "v" (Russian,
// Greek, ...): Ctrl with it is the paste shortcut all the same.
constexpr std::uint8_t kKeyV = 0x56;

std::uint8_t LowByte(std::int64_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

}  // namespace

KeystrokeSender::KeystrokeSender(KeyInjector& injector, KeyboardLayout& layout,
                                 const ModifierFlags& modifiers, MainWindowCommands& commands)
    : injector_(injector), layout_(layout), modifiers_(modifiers), commands_(commands) {}

void KeystrokeSender::SendKeystrokes(const std::u16string& text) {
    // Alt or Ctrl still held from typing the trigger would turn the keys
    // into shortcuts.
    if (modifiers_.AltDown) {
        Release(kKeyAlt);
    }
    if (modifiers_.CtrlDown) {
        Release(kKeyCtrl);
    }
    if (!SendToken(text)) {
        TypeText(text);
    }
}

bool KeystrokeSender::SendToken(const std::u16string& text) {
    if (text == kTokenPaste) {
        const std::uint8_t keyV = KeyTyping(u'v', kKeyV);
        Press(kKeyCtrl);
        Tap(keyV);
        Release(kKeyCtrl);
    } else if (text == kTokenRight) {
        Tap(kKeyRight);
    } else if (text == kTokenBack) {
        Tap(KeyTyping(u'\b', kKeyBackspace));
    } else if (text == kTokenHelp) {
        Tap(kKeyF1);
    } else if (text == kTokenEnter) {
        Tap(kKeyEnter);
    } else if (text == kTokenOpen) {
        commands_.mnuOpen();
    } else if (text == kTokenNew) {
        commands_.mnuOpen();
        commands_.mnuNewTrigger();
    } else if (text == kTokenBuffer) {
        commands_.mnuOpen();
        commands_.SetTab(kKeyBufferTab);
    } else {
        return false;
    }
    return true;
}

void KeystrokeSender::TypeText(const std::u16string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\n') {
            continue;  // CR types the Enter of a CR LF pair
        }
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            injector_.TypeCharacter(CombineSurrogates(c, text[i + 1]));
            ++i;
            continue;
        }
        TypeCharacter(c);
    }
}

void KeystrokeSender::TypeCharacter(char16_t c) {
    const std::int16_t keyScan = layout_.VkKeyScanA(c);
    if (keyScan == kNoKey) {
        // No key of the layout types it: the platform types it by other means.
        injector_.TypeCharacter(c);
        return;
    }
    const char16_t upper = UpperCase(c);
    const bool upperFlag = upper == c;
    const std::uint8_t virtualKey = LowByte(keyScan);
    const std::uint8_t scanCode = LowByte(layout_.OemKeyScan(layout_.CharToOemA(c)));
    if (upper >= u'A' && upper <= u'Z') {
        // Caps Lock already gives capitals; Shift then gives small letters.
        if (modifiers_.CapsLockOn ? !upperFlag : upperFlag) {
            Press(kKeyShift);
        }
    } else if (kShiftedChars.find(c) != std::u16string_view::npos) {
        Press(kKeyShift);
    }
    injector_.keybd_event(virtualKey, scanCode, 0, 0);
    injector_.keybd_event(virtualKey, scanCode, kKeyEventKeyUp, 0);
    Release(kKeyShift);
}

// The layout's key for the character; the fallback where the layout has none,
// rather than virtual key 255, which no application takes for anything.
std::uint8_t KeystrokeSender::KeyTyping(char16_t c, std::uint8_t fallback) {
    const std::int16_t keyScan = layout_.VkKeyScanA(c);
    return keyScan == kNoKey ? fallback : LowByte(keyScan);
}

void KeystrokeSender::Press(std::uint8_t virtualKey) {
    injector_.keybd_event(virtualKey, 0, 0, 0);
}

void KeystrokeSender::Release(std::uint8_t virtualKey) {
    injector_.keybd_event(virtualKey, 0, kKeyEventKeyUp, 0);
}

void KeystrokeSender::Tap(std::uint8_t virtualKey) {
    Press(virtualKey);
    Release(virtualKey);
}

}  // namespace tavro
