#pragma once

#include <string>

#include "capture/KeyBuffer.h"
#include "capture/ModifierFlags.h"
#include "platform/PlatformTypes.h"

namespace tavro {

// A keystroke delivery under way. While it runs, the keys typed are recorded
// but fire nothing, and the user's Esc asks it to stop.
struct KeystrokeDelivery {
    bool InProgress = false;
    bool StopRequested = false;
    // The window the keys are for; 0 while none runs.
    WindowHandle Target = 0;
};

// What the capture keeps for the whole run.
struct CaptureState {
    KeyBuffer keyBuffer;
    // The last 500 characters recorded; never emptied.
    std::u16string KeyDiary;
    ModifierFlags modifiers;
    // The last window seen in front that was not the main window; 0 until then.
    WindowHandle LastForegroundWindow = 0;
    // The caption of the window in front, as last read.
    std::u16string ForegroundCaption;
    KeystrokeDelivery delivery;
};

}  // namespace tavro
