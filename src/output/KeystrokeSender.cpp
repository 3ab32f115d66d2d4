#include "output/KeystrokeSender.h"

#include "capture/CaptureState.h"
#include "capture/KeyVocabulary.h"
#include "capture/ModifierFlags.h"
#include "output/ReplacementTokens.h"
#include "platform/EventLoop.h"
#include "platform/KeyInjector.h"
#include "platform/KeyboardLayout.h"
#include "platform/MainWindowCommands.h"
#include "platform/WindowSystem.h"
#include "text/TextCase.h"
#include "text/Utf16.h"

namespace tavro {

namespace {

constexpr std::u16string_view kShiftedChars = u"~!@#$%^&*()_+{}:<>?|\"";
constexpr std::int16_t kNoKey = -1;
// The V key, there on every layout, also where no key types "v" (Russian,
// Greek, ...): Ctrl with it is the paste shortcut all the same.
constexpr std::uint8_t kKeyV = 0x56;

// The order in which held modifier keys are released.
constexpr std::uint32_t kReleaseOrder[] = {kKeyAlt, kKeyCtrl, kKeyShift, kKeyLeftWindows,
                                           kKeyRightWindows};

std::uint8_t LowByte(std::int64_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

bool IsSurrogatePairAt(const std::u16string& text, std::size_t i) {
    return IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
}

// A keystroke delivery into the target window, running for the lifetime of
// the object: the platform sends its keys into that window only.
class DeliveryScope {
  public:
    DeliveryScope(KeystrokeDelivery& delivery, KeyInjector& injector, WindowHandle target)
        : delivery_(delivery), injector_(injector), outer_(delivery) {
        delivery_ = {.InProgress = true, .StopRequested = false, .Target = target};
        injector_.KeepToWindow(target);
    }
    ~DeliveryScope() {
        delivery_ = outer_;
        injector_.KeepToWindow(outer_.Target);
    }
    DeliveryScope(const DeliveryScope&) = delete;
    DeliveryScope& operator=(const DeliveryScope&) = delete;

  private:
    KeystrokeDelivery& delivery_;
    KeyInjector& injector_;
    KeystrokeDelivery outer_;
};

}  // namespace

KeystrokeSender::KeystrokeSender(const Dependencies& dependencies) : d_(dependencies) {}

void KeystrokeSender::SendKeystrokes(const std::u16string& text) {
    EraseAndSendKeystrokes(0, text);
}

void KeystrokeSender::EraseAndSendKeystrokes(int backspaces, const std::u16string& text) {
    ReleaseHeldModifiers();
    if (const std::function<void()> token = TokenAction(text)) {
        Erase(backspaces);
        token();
    } else {
        TypeText(text, backspaces);
    }
}

// The modifiers the user still holds from typing the trigger would turn the
// keys into shortcuts (Alt, Ctrl, the Windows keys) or change the characters
// (Shift, AltGr): each held key is released as the key it is. The flags go
// on saying the keys are down, as the user still holds them, until the user
// lets go; so the next delivery releases them again.
void KeystrokeSender::ReleaseHeldModifiers() {
    for (const std::uint32_t kind : kReleaseOrder) {
        for (const HeldKey& key : d_.modifiers.heldKeys) {
            if (key.virtualKey == kind) {
                d_.injector.keybd_event(key.virtualKey, key.scanCode,
                                        kKeyEventKeyUp | (key.extended ? kKeyEventExtendedKey : 0U),
                                        0);
            }
        }
    }
}

std::function<void()> KeystrokeSender::TokenAction(const std::u16string& text) {
    const auto tap = [this](std::uint8_t virtualKey) {
        return [this, virtualKey] { Tap(virtualKey); };
    };
    if (text == kTokenPaste) {
        return [this] {
            const std::uint8_t keyV = KeyTyping(u'v', kKeyV);
            Press(kKeyCtrl);
            Tap(keyV);
            Release(kKeyCtrl);
        };
    }
    if (text == kTokenRight) {
        return tap(kKeyRight);
    }
    if (text == kTokenBack) {
        return [this] { Erase(1); };
    }
    if (text == kTokenHelp) {
        return tap(kKeyF1);
    }
    if (text == kTokenEnter) {
        return tap(kKeyEnter);
    }
    if (text == kTokenOpen) {
        return [this] { d_.commands.mnuOpen(); };
    }
    if (text == kTokenNew) {
        return [this] {
            d_.commands.mnuOpen();
            d_.commands.mnuNewTrigger();
        };
    }
    if (text == kTokenBuffer) {
        return [this] {
            d_.commands.mnuOpen();
            d_.commands.SetTab(kKeyBufferTab);
        };
    }
    return {};
}

void KeystrokeSender::Erase(int backspaces) {
    for (int i = 0; i < backspaces; ++i) {
        Tap(KeyTyping(u'\b', kKeyBackspace));
    }
}

void KeystrokeSender::TypeText(const std::u16string& text, int backspaces) {
    const WindowHandle target = d_.windows.GetForegroundWindow();
    const DeliveryScope scope(d_.delivery, d_.injector, target);
    Erase(backspaces);
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t sliceEnd = PrepareSlice(text, position);
        for (; position < sliceEnd; ++position) {
            if (d_.windows.GetForegroundWindow() != target) {
                return;
            }
            const char16_t c = text[position];
            if (c == u'\n') {
                continue;  // CR types the Enter of a CR LF pair
            }
            if (IsSurrogatePairAt(text, position)) {
                d_.injector.TypeCharacter(CombineSurrogates(c, text[position + 1]));
                ++position;
                continue;
            }
            TypeCharacter(c);
        }
        if (position < text.size()) {
            d_.injector.PauseSending();
            d_.eventLoop.YieldOnce();
            if (d_.delivery.StopRequested) {
                return;
            }
            // A modifier the user pressed meanwhile would turn the next
            // characters into shortcuts.
            ReleaseHeldModifiers();
        }
    }
}

// Finds the end of the slice that starts at `start`, and tells the platform
// which characters without a key it will type.
std::size_t KeystrokeSender::PrepareSlice(const std::u16string& text, std::size_t start) {
    std::u32string withoutKey;
    std::size_t end = start;
    while (end < text.size() && end - start < kSliceCharacters) {
        const bool pair = IsSurrogatePairAt(text, end);
        const char32_t c = pair ? CombineSurrogates(text[end], text[end + 1]) : text[end];
        if (pair || (c != U'\n' && d_.layout.VkKeyScanA(text[end]) == kNoKey)) {
            if (withoutKey.find(c) == std::u32string::npos) {
                if (withoutKey.size() == kSliceCharactersWithoutKey) {
                    break;
                }
                withoutKey += c;
            }
        }
        end += pair ? 2 : 1;
    }
    if (!withoutKey.empty()) {
        d_.injector.PrepareToType(withoutKey);
    }
    return end;
}

void KeystrokeSender::TypeCharacter(char16_t c) {
    const std::int16_t keyScan = d_.layout.VkKeyScanA(c);
    if (keyScan == kNoKey) {
        // No key of the layout types it: the platform types it by other means.
        d_.injector.TypeCharacter(c);
        return;
    }
    const char16_t upper = UpperCase(c);
    const bool upperFlag = upper == c;
    const std::uint8_t virtualKey = LowByte(keyScan);
    const std::uint8_t scanCode = LowByte(d_.layout.OemKeyScan(d_.layout.CharToOemA(c)));
    if (upper >= u'A' && upper <= u'Z') {
        // Caps Lock already gives capitals; Shift then gives small letters.
        if (d_.modifiers.CapsLockOn ? !upperFlag : upperFlag) {
            Press(kKeyShift);
        }
    } else if (kShiftedChars.find(c) != std::u16string_view::npos) {
        Press(kKeyShift);
    }
    d_.injector.keybd_event(virtualKey, scanCode, 0, 0);
    d_.injector.keybd_event(virtualKey, scanCode, kKeyEventKeyUp, 0);
    Release(kKeyShift);
}

// The layout's key for the character; the fallback where the layout has none,
// rather than virtual key 255, which no application takes for anything.
std::uint8_t KeystrokeSender::KeyTyping(char16_t c, std::uint8_t fallback) {
    const std::int16_t keyScan = d_.layout.VkKeyScanA(c);
    return keyScan == kNoKey ? fallback : LowByte(keyScan);
}

void KeystrokeSender::Press(std::uint8_t virtualKey) {
    d_.injector.keybd_event(virtualKey, 0, 0, 0);
}

void KeystrokeSender::Release(std::uint8_t virtualKey) {
    d_.injector.keybd_event(virtualKey, 0, kKeyEventKeyUp, 0);
}

void KeystrokeSender::Tap(std::uint8_t virtualKey) {
    Press(virtualKey);
    Release(virtualKey);
}

}  // namespace tavro
