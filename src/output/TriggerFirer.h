#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "capture/TriggerFiring.h"
#include "output/RunawayGuard.h"

namespace tavro {

struct ApplicationLists;
struct CaptureState;
class Clipboard;
class Clock;
class EventLoop;
class KeystrokeSending;
class MessageBoxes;
class StagingArea;
class TrayIcon;
class TriggerTable;
class WindowOperations;

// How many Backspaces erase the typed trigger text: one per character (a
// surrogate pair is one) and for <enter> and <tab>, none for the other
// bracketed key names, which type nothing, and none at all for
// "%none%".
int CountTriggerKeys(std::u16string_view triggerText);

// Erases the typed trigger and delivers the replacement to the application
// in front: as keystrokes to SendKey applications, as plain text to TextOnly
// applications, and through the clipboard in the trigger's own format to all
// others; "Launch" triggers start their command line instead. One firing at a
// time: none starts while a keystroke delivery runs; and a trigger that fires
// on what the firing before typed more often than anyone can type it stops,
// with a message (RunawayGuard).
class TriggerFirer final : public TriggerFiring {
  public:
    struct Dependencies {
        TriggerTable& triggers;
        const ApplicationLists& applications;
        CaptureState& capture;
        KeystrokeSending& sender;
        WindowOperations& windowOperations;
        StagingArea& staging;
        Clipboard& clipboard;
        TrayIcon& tray;
        EventLoop& eventLoop;
        Clock& clock;
        MessageBoxes& messages;
    };

    explicit TriggerFirer(const Dependencies& dependencies);

    void FireTrigger(const std::u16string& triggerText, int slot) override;
    // Fires, erasing nothing, the first slot whose tray entry is the caption
    // (compared trimmed and ignoring case).
    void FireTriggerByCaption(const std::u16string& caption);

    // Whether the caption of the window in front contains an entry of the
    // list; the caption read is kept as ForegroundCaption.
    bool IsSendKeyApp();
    bool IsTextOnlyApp();

  private:
    bool MayFire(int slot);
    void DeliverByClipboard(const std::u16string& triggerText, int slot,
                            const std::u16string& text);
    void EraseTypedTrigger(const std::u16string& triggerText);
    // Erases the typed trigger, puts the replacement on the clipboard with
    // `fillClipboard` and pastes it.
    void EraseAndPaste(const std::u16string& triggerText,
                       const std::function<void()>& fillClipboard);
    void Send(std::u16string_view token);

    Dependencies d_;
    RunawayGuard runawayGuard_;
};

}  // namespace tavro
