#include "capture/KeyCapture.h"

#include <algorithm>

#include "capture/CaptureState.h"
#include "capture/KeyVocabulary.h"
#include "capture/KeystrokeSending.h"
#include "capture/TriggerMatcher.h"
#include "platform/KeyBufferPage.h"
#include "platform/KeyboardLayout.h"
#include "platform/MainWindowCommands.h"
#include "platform/ProgramInfo.h"
#include "platform/WindowSystem.h"
#include "text/AnsiCodePage.h"
#include "text/TextCase.h"
#include "text/Utf16.h"
#include "window/WindowOperations.h"

namespace tavro {

namespace {

constexpr std::u16string_view kListControlMark = u"lst";
constexpr std::u16string_view kBufferPageWord = u"TAVROBUFF";
constexpr std::u16string_view kBufferPageToken = u"%tavrobuff%";
constexpr std::u16string_view kBackEntry = u"<back>";
constexpr std::u16string_view kLeftEntry = u"<left>";
// Key-downs repeated by a held key carry 0x4000 and are above this.
constexpr std::int16_t kHighestRecordedKeystate = 10000;
constexpr std::size_t kDiaryCapacity = 500;
constexpr std::uint16_t kScanCodeBits = 0xFF;
constexpr std::uint16_t kExtendedKeyBit = 0x100;
constexpr std::uint8_t kKeyDownBit = 0x80;
constexpr std::uint8_t kKeyToggledBit = 0x01;

bool IsHeldModifier(std::uint32_t keyCode) {
    return keyCode == kKeyShift || keyCode == kKeyCtrl || keyCode == kKeyAlt ||
           keyCode == kKeyLeftWindows || keyCode == kKeyRightWindows;
}

// The flags follow the user's Shift, Ctrl and Alt; the list of held keys
// also knows which of the two keys (AltGr is the right Alt) and the Windows
// keys. A key-up that names no held key lets go of every key of its kind.
void FollowModifier(ModifierFlags& flags, const KeyEvent& event, bool down) {
    if (event.keyCode == kKeyShift) {
        flags.ShiftDown = down;
    } else if (event.keyCode == kKeyCtrl) {
        flags.CtrlDown = down;
    } else if (event.keyCode == kKeyAlt) {
        flags.AltDown = down;
    }
    if (!IsHeldModifier(event.keyCode)) {
        return;
    }
    const auto keystate = static_cast<std::uint16_t>(event.keystate);
    const HeldKey key{.virtualKey = static_cast<std::uint8_t>(event.keyCode),
                      .scanCode = static_cast<std::uint8_t>(keystate & kScanCodeBits),
                      .extended = (keystate & kExtendedKeyBit) != 0};
    std::vector<HeldKey>& held = flags.heldKeys;
    const auto found = std::find(held.begin(), held.end(), key);
    if (down) {
        if (found == held.end()) {
            held.push_back(key);
        }
    } else if (found != held.end()) {
        held.erase(found);
    } else {
        std::erase_if(held,
                      [&](const HeldKey& other) { return other.virtualKey == key.virtualKey; });
    }
}

}  // namespace

KeyCapture::KeyCapture(const Dependencies& dependencies) : d_(dependencies) {}

void KeyCapture::WinHook1_KeyDownHook(const KeyEvent& event) {
    const bool ownKey = event.origin == KeyOrigin::Own;
    KeystrokeDelivery& delivery = d_.state.delivery;
    if (!ownKey) {
        FollowModifier(d_.state.modifiers, event, true);
        if (event.keyCode == kKeyEscape && delivery.InProgress) {
            delivery.StopRequested = true;
        }
    }
    if (IsOwnWindowTyping()) {
        return;
    }
    WatchForeground();
    ShowModifierState();
    if (event.keystate > kHighestRecordedKeystate) {
        return;
    }
    Record(KeyName(event.keyCode, event.level), ownKey);
    // The program's own keys, and what they typed, never fire anything; keys
    // typed while a keystroke delivery runs fire nothing before it is over.
    if (!ownKey && !delivery.InProgress) {
        const KeyBuffer& buffer = d_.state.keyBuffer;
        if (!buffer.EndsWithOwnKey() && EndsWithIgnoringCase(buffer.Text(), kBufferPageWord)) {
            d_.sender.SendKeystrokes(std::u16string(kBufferPageToken));
        }
        d_.matcher.MatchTriggers();
    }
    d_.commands.EnableEditFields(true);
}

void KeyCapture::WinHook1_KeyUpHook(const KeyEvent& event) {
    if (event.origin == KeyOrigin::User) {
        ModifierFlags& flags = d_.state.modifiers;
        FollowModifier(flags, event, false);
        if (d_.windows.GetForegroundWindow() == d_.program.MainWindowHandle()) {
            flags.CapsLockOn = d_.windowOperations.KeyStateOn(kKeyCapsLock);
        } else if (event.keyCode == kKeyCapsLock) {
            flags.CapsLockOn = !flags.CapsLockOn;
        }
    }
    ShowModifierState();
}

void KeyCapture::Timer1_Timer() {
    WatchForeground();
}

// Typing into the program's own windows is not recorded, except while one of
// the main window's list boxes has the focus. The program's own windows are
// those of the main window's thread: the main window "Tavro!" and its dialogs
// (a trigger typed into the program's own input box must not fire there). A
// window of another program whose caption happens to start the same way is
// not the program's own, nor is a window that names no thread at all.
// The main window's thread is asked for until it names one, which it keeps
// for its life.
bool KeyCapture::IsOwnWindowTyping() {
    const ThreadId foregroundThread =
        d_.windows.GetWindowThreadProcessId(d_.windows.GetForegroundWindow());
    if (foregroundThread == 0) {
        return false;
    }
    if (programThread_ == 0) {
        programThread_ = d_.windows.GetWindowThreadProcessId(d_.program.MainWindowHandle());
    }
    if (foregroundThread != programThread_) {
        return false;
    }
    return d_.program.ActiveControlName().find(kListControlMark) == std::u16string::npos;
}

void KeyCapture::WatchForeground() {
    const WindowHandle foreground = d_.windows.GetForegroundWindow();
    if (foreground != d_.program.MainWindowHandle()) {
        d_.state.LastForegroundWindow = foreground;
        d_.state.ForegroundCaption = d_.windowOperations.GetForegroundCaption();
    }
}

void KeyCapture::Record(const std::u16string& entry, bool ownKey) {
    KeyBuffer& buffer = d_.state.keyBuffer;
    if (entry == kBackEntry || entry == kLeftEntry) {
        buffer.DropLast();
    } else {
        buffer.Append(entry, ownKey ? KeyOrigin::Own : KeyOrigin::User);
    }
    std::u16string& diary = d_.state.KeyDiary;
    diary += entry;
    KeepLastUnits(diary, kDiaryCapacity);
    d_.page.SetBufferTexts(buffer.Text(), diary);
}

std::u16string KeyCapture::KeyName(std::uint32_t keyCode, const KeyLevel& level) {
    if (IsSilentKey(keyCode)) {
        return {};
    }
    if (std::u16string named = NamedKeyEntry(keyCode); !named.empty()) {
        return named;
    }
    if (d_.windows.GetForegroundWindow() != d_.program.MainWindowHandle()) {
        // Translated with the modifiers the key was typed with, the entry is
        // the character that appeared, on any layout.
        std::u16string character = TranslateKey(keyCode, level);
        if (character.size() == 1 && character[0] <= 0xFF) {
            character[0] = AnsiCharacter(static_cast<std::uint8_t>(character[0]));
        }
        return character;
    }
    // In the main window (a list box has the focus) the key code itself
    // stands for the character, and the flags stand in for the modifiers.
    char16_t entry = AnsiCharacter(static_cast<std::uint8_t>(keyCode));
    const ModifierFlags& flags = d_.state.modifiers;
    const char16_t upper = UpperCase(entry);
    if (upper >= u'A' && upper <= u'Z') {
        entry = flags.CapsLockOn ? upper : static_cast<char16_t>(upper - u'A' + u'a');
    } else if (flags.ShiftDown) {
        entry = ShiftedPartner(entry);
    }
    return std::u16string(1, entry);
}

std::u16string KeyCapture::TranslateKey(std::uint32_t keyCode, const KeyLevel& level) {
    KeyboardState state{};
    if (level.shift) {
        state[kKeyShift] = kKeyDownBit;
    }
    if (level.capsLock) {
        state[kKeyCapsLock] = kKeyToggledBit;
    }
    if (level.altGr) {
        state[kKeyCtrl] = kKeyDownBit;
        state[kKeyAlt] = kKeyDownBit;
    }
    const KeyboardLayoutHandle layout = d_.layout.GetKeyboardLayout();
    const std::uint32_t scanCode =
        d_.layout.MapVirtualKeyExA(keyCode, kMapVirtualKeyToScanCode, layout);
    std::uint32_t output = 0;
    const int produced = d_.layout.ToAscii(keyCode, scanCode, state, output, 0);
    const auto first = static_cast<char16_t>(output & 0xFFFF);
    const auto second = static_cast<char16_t>(output >> 16);
    // Two characters from a dead key keep the first; a surrogate pair is
    // one character.
    if (produced == 2 && IsHighSurrogate(first) && IsLowSurrogate(second)) {
        return {first, second};
    }
    return std::u16string(1, first);
}

void KeyCapture::ShowModifierState() {
    const ModifierFlags& flags = d_.state.modifiers;
    d_.page.SetModifierChecks(flags.AltDown, flags.CtrlDown, flags.ShiftDown, flags.CapsLockOn);
}

}  // namespace tavro
