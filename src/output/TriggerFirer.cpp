#include "output/TriggerFirer.h"

#include "capture/CaptureState.h"
#include "capture/KeystrokeSending.h"
#include "output/ReplacementDateTime.h"
#include "output/ReplacementTokens.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/MessageBoxes.h"
#include "platform/StagingArea.h"
#include "platform/TrayIcon.h"
#include "store/ApplicationLists.h"
#include "store/TriggerTable.h"
#include "store/TriggerType.h"
#include "text/TextCase.h"
#include "text/Utf16.h"
#include "window/WindowOperations.h"

namespace tavro {

namespace {

constexpr std::u16string_view kRunawayTitle = u"Trigger Stopped";

std::u16string RunawayText(const std::u16string& trigger) {
    return u"The trigger \"" + trigger +
           u"\" fired more than 10 times within one second, faster than anyone types it: "
           u"its replacement probably types it again. Tavro will not fire it again until "
           u"Tavro is restarted.";
}

bool IsWindowToken(std::u16string_view text) {
    return text == kTokenOpen || text == kTokenNew || text == kTokenBuffer;
}

bool CaptionInList(const std::u16string& caption, const ApplicationList& list) {
    const std::u16string upperCaption = UpperCase(caption);
    for (const std::u16string& entry : list) {
        if (!entry.empty() && upperCaption.find(UpperCase(entry)) != std::u16string::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

int CountTriggerKeys(std::u16string_view triggerText) {
    if (triggerText == kTokenNone) {
        return 0;
    }
    int count = 0;
    std::size_t position = 0;
    while (position < triggerText.size()) {
        const auto close = triggerText.find(u'>', position + 1);
        if (triggerText[position] == u'<' && close != std::u16string_view::npos) {
            // Enter and Tab leave a character in the text that the Backspace
            // must take back too; other named keys only move or select.
            const std::u16string name =
                UpperCase(triggerText.substr(position, close + 1 - position));
            if (name == u"<ENTER>" || name == u"<TAB>") {
                ++count;
            }
            position = close + 1;
        } else {
            // A character beyond 16 bits is one for the Backspace key too.
            const bool pair = IsHighSurrogate(triggerText[position]) &&
                              position + 1 < triggerText.size() &&
                              IsLowSurrogate(triggerText[position + 1]);
            position += pair ? 2 : 1;
            ++count;
        }
    }
    return count;
}

TriggerFirer::TriggerFirer(const Dependencies& dependencies) : d_(dependencies) {}

void TriggerFirer::FireTrigger(const std::u16string& triggerText, int slot) {
    if (triggerText.empty() || d_.capture.delivery.InProgress) {
        return;
    }
    d_.capture.keyBuffer.Clear();
    if (!MayFire(slot)) {
        return;
    }
    d_.tray.ShowFlashIcon();
    d_.eventLoop.YieldOnce();
    const bool sendKeyApp = IsSendKeyApp();
    const bool keystrokeDelivery = sendKeyApp && d_.triggers.Slot(slot).Type != kTypeLaunch;
    // Showing the trigger may save and reload the table; from here on the
    // slot's fields (and triggerText, when it is the slot's own) are the
    // reloaded ones.
    d_.staging.ShowTrigger(slot);
    std::u16string text = d_.staging.ReplaceText();
    ReplaceDateAndTime(text, d_.clock.Now());
    runawayGuard_.NoteTyped(keystrokeDelivery ? text : std::u16string());
    if (keystrokeDelivery) {
        d_.sender.EraseAndSendKeystrokes(CountTriggerKeys(triggerText), text);
    } else {
        DeliverByClipboard(triggerText, slot, text);
    }
    d_.tray.ShowNormalIcon();
}

bool TriggerFirer::MayFire(int slot) {
    const std::u16string trigger = d_.triggers.Slot(slot).Trigger;
    switch (runawayGuard_.CheckFiring(trigger, d_.clock.GetTickCount64())) {
        case RunawayGuard::Verdict::Fire:
            return true;
        case RunawayGuard::Verdict::JustStopped:
            d_.messages.ShowMessage(RunawayText(trigger), std::u16string(kRunawayTitle),
                                    MessageIcon::Exclamation);
            return false;
        case RunawayGuard::Verdict::Stopped:
            return false;
    }
    return false;
}

void TriggerFirer::DeliverByClipboard(const std::u16string& triggerText, int slot,
                                      const std::u16string& text) {
    const std::u16string type = d_.triggers.Slot(slot).Type;
    const bool textOnlyApp = IsTextOnlyApp();
    if (type == kTypeText && IsWindowToken(text)) {
        // The window opens in any application; the typed trigger stays where
        // it was typed.
        d_.sender.SendKeystrokes(text);
        return;
    }
    if ((textOnlyApp && type != kTypeLaunch) || type == kTypeText) {
        EraseAndPaste(triggerText, [&] { d_.clipboard.SetText(text); });
    } else if (type == kTypeRTF) {
        // Without its rich-text file there is nothing to paste: the typed
        // trigger stays, and the clipboard keeps what the user put there.
        if (!d_.staging.HasReplaceRTF()) {
            return;
        }
        EraseAndPaste(triggerText, [&] { d_.clipboard.SetRichText(d_.staging.ReplaceRTF()); });
    } else if (type == kTypeImage) {
        // Without a picture there is nothing to paste: the typed trigger
        // stays, and the clipboard keeps what the user put there.
        if (!d_.staging.HasTriggerPicture()) {
            return;
        }
        EraseAndPaste(triggerText, [&] { d_.clipboard.SetTriggerPicture(); });
    } else if (type == kTypeLaunch) {
        d_.windowOperations.ShellOpen(d_.staging.CommandLine());
    } else {
        // A type this program does not know delivers nothing, rather than
        // erasing the trigger and pasting whatever the clipboard holds.
        return;
    }
    if (type == kTypeImage) {
        d_.clipboard.AwaitPaste();
        Send(kTokenRight);
    }
}

// The Backspaces go out together, kept to the window in front as typed text
// is: no key of the user's lands among them.
void TriggerFirer::EraseTypedTrigger(const std::u16string& triggerText) {
    d_.sender.EraseAndSendKeystrokes(CountTriggerKeys(triggerText), u"");
}

// The Backspaces go out first: the application erases the typed trigger
// while the clipboard is filled, and nothing the clipboard waits for (an
// earlier paste not yet taken, a large content) delays them.
void TriggerFirer::EraseAndPaste(const std::u16string& triggerText,
                                 const std::function<void()>& fillClipboard) {
    EraseTypedTrigger(triggerText);
    d_.clipboard.Clear();
    fillClipboard();
    Send(kTokenPaste);
}

void TriggerFirer::Send(std::u16string_view token) {
    d_.sender.SendKeystrokes(std::u16string(token));
}

void TriggerFirer::FireTriggerByCaption(const std::u16string& caption) {
    const std::u16string wanted = UpperCase(TrimBlanks(caption));
    for (int slot = 0; slot < d_.triggers.UsedSlots(); ++slot) {
        if (UpperCase(TrimBlanks(d_.triggers.TrayEntry(slot))) == wanted) {
            FireTrigger(std::u16string(kTokenNone), slot);
            return;
        }
    }
}

bool TriggerFirer::IsSendKeyApp() {
    d_.capture.ForegroundCaption = d_.windowOperations.GetForegroundCaption();
    return CaptionInList(d_.capture.ForegroundCaption, d_.applications.SendKeyApps);
}

bool TriggerFirer::IsTextOnlyApp() {
    d_.capture.ForegroundCaption = d_.windowOperations.GetForegroundCaption();
    return CaptionInList(d_.capture.ForegroundCaption, d_.applications.TextOnlyApps);
}

}  // namespace tavro
