#include "capture/KeyCapture.h"

#include "capture/CaptureState.h"
#include "capture/KeyVocabulary.h"
#include "capture/KeystrokeSending.h"
#include "capture/OwnKeyEvents.h"
#include "capture/TriggerMatcher.h"
#include "platform/KeyBufferPage.h"
#include "platform/KeyboardLayout.h"
#include "platform/MainWindowCommands.h"
#include "platform/ProgramInfo.h"
#include "platform/WindowSystem.h"
#include "text/AnsiCodePage.h"
#include "text/TextCase.h"
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

void SetModifier(ModifierFlags& flags, std::uint32_t keyCode, bool down) {
    if (keyCode == kKeyShift) {
        flags.ShiftDown = down;
    } else if (keyCode == kKeyCtrl) {
        flags.CtrlDown = down;
    } else if (keyCode == kKeyAlt) {
        flags.AltDown = down;
    }
}

}  // namespace

KeyCapture::KeyCapture(const Dependencies& dependencies) : d_(dependencies) {}

void KeyCapture::WinHook1_KeyDownHook(std::uint32_t keyCode, std::int16_t keystate) {
    const bool ownKey = d_.ownKeys.TakeOwnKeyDown(keyCode);
    SetModifier(d_.state.modifiers, keyCode, true);
    if (IsOwnWindowTyping()) {
        return;
    }
    WatchForeground();
    ShowModifierState();
    if (keystate > kHighestRecordedKeystate) {
        return;
    }
    Record(KeyName(keyCode), ownKey);
    // The program's own keys, and what they typed, never fire anything.
    if (!ownKey) {
        const KeyBuffer& buffer = d_.state.keyBuffer;
        if (!buffer.EndsWithOwnKey() && EndsWithIgnoringCase(buffer.Text(), kBufferPageWord)) {
            d_.sender.SendKeystrokes(std::u16string(kBufferPageToken));
        }
        d_.matcher.MatchTriggers();
    }
    d_.commands.EnableEditFields(true);
}

void KeyCapture::WinHook1_KeyUpHook(std::uint32_t keyCode) {
    ModifierFlags& flags = d_.state.modifiers;
    SetModifier(flags, keyCode, false);
    if (d_.windows.GetForegroundWindow() == d_.program.MainWindowHandle()) {
        flags.CapsLockOn = d_.windowOperations.KeyStateOn(kKeyCapsLock);
    } else if (keyCode == kKeyCapsLock) {
        flags.CapsLockOn = !flags.CapsLockOn;
    }
    ShowModifierState();
}

void KeyCapture::Timer1_Timer() {
    WatchForeground();
    d_.ownKeys.OnTimerTick();
}

// Typing into the program's own windows is not recorded, except while one of
// the main window's list boxes has the focus. The program's own windows are
// those of the main window's thread: the main window "Tavro!" and its dialogs
// (a trigger typed into the program's own input box must not fire there). A
// window of another program whose caption happens to start the same way is
// not the program's own, nor is a window that names no thread at all.
bool KeyCapture::IsOwnWindowTyping() {
    const ThreadId foregroundThread =
        d_.windows.GetWindowThreadProcessId(d_.windows.GetForegroundWindow());
    if (foregroundThread == 0 ||
        foregroundThread != d_.windows.GetWindowThreadProcessId(d_.program.MainWindowHandle())) {
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
    if (diary.size() > kDiaryCapacity) {
        diary.erase(0, diary.size() - kDiaryCapacity);
    }
    d_.page.SetBufferTexts(buffer.Text(), diary);
}

std::u16string KeyCapture::KeyName(std::uint32_t keyCode) {
    if (IsSilentKey(keyCode)) {
        return {};
    }
    if (std::u16string named = NamedKeyEntry(keyCode); !named.empty()) {
        return named;
    }
    // In the main window (a list box has the focus) the key code itself
    // stands for the character.
    const char16_t code = d_.windows.GetForegroundWindow() == d_.program.MainWindowHandle()
                              ? static_cast<char16_t>(keyCode)
                              : TranslateKey(keyCode);
    char16_t entry = code <= 0xFF ? AnsiCharacter(static_cast<std::uint8_t>(code)) : code;
    const ModifierFlags& flags = d_.state.modifiers;
    const char16_t upper = UpperCase(entry);
    if (upper >= u'A' && upper <= u'Z') {
        entry = flags.CapsLockOn ? upper : static_cast<char16_t>(upper - u'A' + u'a');
    } else if (flags.ShiftDown) {
        entry = ShiftedPartner(entry);
    }
    return std::u16string(1, entry);
}

char16_t KeyCapture::TranslateKey(std::uint32_t keyCode) {
    const KeyboardState state = d_.layout.GetKeyboardState();
    const KeyboardLayoutHandle layout = d_.layout.GetKeyboardLayout();
    const std::uint32_t scanCode =
        d_.layout.MapVirtualKeyExA(keyCode, kMapVirtualKeyToScanCode, layout);
    std::uint32_t output = 0;
    d_.layout.ToAscii(keyCode, scanCode, state, output, 0);
    return static_cast<char16_t>(output & 0xFFFF);
}

void KeyCapture::ShowModifierState() {
    const ModifierFlags& flags = d_.state.modifiers;
    d_.page.SetModifierChecks(flags.AltDown, flags.CtrlDown, flags.ShiftDown, flags.CapsLockOn);
}

}  // namespace tavro
