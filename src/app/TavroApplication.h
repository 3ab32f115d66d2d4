#pragma once

#include <filesystem>

#include <QSocketNotifier>
#include <QTimer>

#include "app/DesktopClipboard.h"
#include "app/DesktopEventLoop.h"
#include "app/InterimMainWindow.h"
#include "app/InterimStagingArea.h"
#include "app/MessageBoxDialogs.h"
#include "app/SystemClock.h"
#include "engine/Engine.h"
#include "platform/ProgramExit.h"
#include "platform/x11/X11KeyInjector.h"
#include "platform/x11/X11KeyboardHook.h"
#include "platform/x11/X11KeyboardLayout.h"
#include "platform/x11/X11Keymap.h"
#include "platform/x11/X11Shell.h"
#include "platform/x11/X11WindowSystem.h"
#include "platform/x11/XConnection.h"
#include "store/TriggerStore.h"
#include "store/sqlite/SqliteDatabase.h"
#include "tray/TrayIconPictures.h"
#include "tray/TriggerChoiceMenu.h"

namespace tavro {

// Ends the program at once with the exit code.
class ImmediateExit final : public ProgramExit {
  public:
    void EndProgram(int exitCode) override;
};

// Tavro on an X11 desktop: the engine wired to the X server, the trigger
// database beside the program, the clipboard and the tray icon. Everything
// runs on the Qt event loop.
class TavroApplication {
  public:
    // Throws std::runtime_error when the X display cannot be used.
    explicit TavroApplication(const std::filesystem::path& programFolder);

    // Loads the triggers (a database that cannot be read ends the program),
    // makes sure the data folder exists, and starts watching the keyboard.
    void Start();

  private:
    void WatchX11();

    std::filesystem::path programFolder_;
    x11::XConnection connection_;
    x11::X11Keymap keymap_{connection_};
    x11::X11KeyboardHook hook_;
    x11::X11KeyInjector injector_{connection_, keymap_, hook_};
    x11::X11KeyboardLayout layout_{keymap_};
    x11::X11WindowSystem windows_{connection_, keymap_};
    x11::X11Shell shell_;

    InterimMainWindow mainWindow_;
    MessageBoxDialogs messages_;
    ImmediateExit exit_;
    TrayIconPictures tray_;
    DesktopEventLoop eventLoop_;
    SystemClock clock_;
    HiddenListBox lstTriggers_;
    HiddenListBox lstSendKey_;
    HiddenListBox lstTextOnly_;
    // The engine keeps references to the staging area, the clipboard and the
    // choice menu, which work on the engine in turn; they are made right
    // after it and used only once it runs.
    Engine engine_;
    InterimStagingArea staging_;
    DesktopClipboard clipboard_;
    TriggerChoiceMenu choice_;
    SqliteEngine database_;
    TriggerStore store_;

    QSocketNotifier hookEvents_;
    QSocketNotifier windowEvents_;
    QTimer timer1_;
};

}  // namespace tavro
