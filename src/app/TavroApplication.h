#pragma once

#include <filesystem>

// Qt before Xlib, whose macros (None, Bool, ...) would break Qt's headers.
#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>

#include "app/DesktopClipboard.h"
#include "app/DesktopEventLoop.h"
#include "app/DesktopPictureLoader.h"
#include "app/InputBoxDialog.h"
#include "app/MessageBoxDialogs.h"
#include "app/SystemClock.h"
#include "app/TerminationSignals.h"
#include "editor/FileDialogBoxes.h"
#include "editor/MainWindow.h"
#include "platform/ProgramExit.h"
#include "platform/x11/InstanceSelection.h"
#include "platform/x11/X11KeyInjector.h"
#include "platform/x11/X11KeyboardHook.h"
#include "platform/x11/X11KeyboardLayout.h"
#include "platform/x11/X11Keymap.h"
#include "platform/x11/X11Shell.h"
#include "platform/x11/X11WindowSystem.h"
#include "platform/x11/XConnection.h"
#include "store/ContentFileReading.h"
#include "store/sqlite/SqliteDatabase.h"
#include "tray/TrayIconPictures.h"
#include "tray/TrayMenuPopup.h"
#include "tray/TriggerChoiceMenu.h"

namespace tavro {

// Ends the program at once with the exit code.
class ImmediateExit final : public ProgramExit {
  public:
    void EndProgram(int exitCode) override;
};

// Tavro on an X11 desktop: the main window and its engine wired to the X
// server, the trigger database beside the program, the clipboard, the tray
// icon and its menus. Everything runs on the Qt event loop.
class TavroApplication {
  public:
    // Throws std::runtime_error when the X display cannot be used.
    explicit TavroApplication(const std::filesystem::path& programFolder);

    // Whether this is the only Tavro on the display. When another one runs,
    // it has been asked to show its main window, and this one should end.
    bool BecomeTheOnlyInstance();
    // Shows the splash window, loads the triggers with the main window out of
    // sight (a database that cannot be read ends the program), shows the tray
    // icon and hands the keyboard to the engine (the keys typed since the
    // program began included).
    void Start();
    // Ends the program in order: what it changed on the desktop is put back
    // (the keys lent for typing), then the event loop ends, and the program
    // with it, saving pending edits on the way. SIGTERM, SIGINT and SIGHUP
    // come here.
    void Shutdown();

  private:
    void WatchX11();
    void WatchShutdown();

    std::filesystem::path programFolder_;
    x11::XConnection connection_;
    x11::X11Keymap keymap_{connection_};
    // Records from the start: a trigger typed while the main window is
    // being made expands once the program runs.
    x11::X11KeyboardHook hook_{"", x11::X11KeyboardHook::Recording::AtOnce};
    x11::X11KeyInjector injector_{connection_, keymap_, hook_};
    x11::X11KeyboardLayout layout_{keymap_};
    x11::X11WindowSystem windows_{connection_, keymap_};
    x11::X11Shell shell_;
    x11::InstanceSelection instance_{connection_};

    MessageBoxDialogs messages_;
    InputBoxDialog input_;
    FileDialogBoxes fileDialogs_;
    DesktopPictureLoader pictures_;
    DiskContentFileReader contentFiles_;
    ImmediateExit exit_;
    TrayIconPictures tray_;
    DesktopEventLoop eventLoop_;
    SystemClock clock_;
    SqliteEngine database_;
    DesktopClipboard clipboard_;
    // The main window keeps references to the choice menu and the tray menu,
    // which work on its engine in turn; they are made right after it and
    // used only once the program runs.
    MainWindow main_;
    TriggerChoiceMenu choice_;
    TrayMenuPopup trayMenu_;

    QSocketNotifier hookEvents_;
    QSocketNotifier windowEvents_;
    QTimer timer1_;
    TerminationSignals signals_{[this] { Shutdown(); }};
};

}  // namespace tavro
