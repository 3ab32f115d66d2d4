#pragma once

namespace tavro {

inline constexpr int kKeyBufferTab = 4;

// Commands of the main window that the engine runs.
class MainWindowCommands {
  public:
    virtual ~MainWindowCommands() = default;
    // The main window opens, centred.
    virtual void mnuOpen() = 0;
    // A new trigger is started in the editor.
    virtual void mnuNewTrigger() = 0;
    // Brings page `tab` of the tab control SSTab1 to the front.
    virtual void SetTab(int tab) = 0;
    // Enables or disables the main window's text and combo boxes.
    virtual void EnableEditFields(bool enabled) = 0;
};

}  // namespace tavro
