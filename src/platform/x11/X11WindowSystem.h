#pragma once

#include <chrono>

#include "platform/WindowSystem.h"
#include "platform/x11/WindowProperties.h"
#include "platform/x11/XConnection.h"

namespace tavro::x11 {

class X11Keymap;

// Window operations through the window manager (EWMH): the window in front
// is _NET_ACTIVE_WINDOW (or, when the keyboard focus leaves it before the
// window manager says so, the top-level window with the focus), bringing one
// to the front asks for it. The window in front, its caption and its
// process are kept from property-change events, so asking for them reads
// memory. A window's "thread" is its process (_NET_WM_PID), 0 when it does
// not say; joining the input of two threads has no X counterpart and does
// nothing.
//
// Without a window manager, or once it has ended (its check window is
// gone, and what it last said is stale), or while it names no active
// window, the window in front is the top-level window with the keyboard
// focus, and bringing a window to the front gives it the focus directly.
class X11WindowSystem final : public WindowSystem, private XEventListener {
  public:
    // How long SetForegroundWindow waits for the window manager.
    static constexpr std::chrono::milliseconds kActivationTimeout{500};

    X11WindowSystem(XConnection& connection, X11Keymap& keymap);
    ~X11WindowSystem() override;
    X11WindowSystem(const X11WindowSystem&) = delete;
    X11WindowSystem& operator=(const X11WindowSystem&) = delete;

    WindowHandle GetForegroundWindow() override;
    int GetWindowTextLengthA(WindowHandle window) override;
    std::u16string GetWindowTextA(WindowHandle window, int maxCount) override;
    // Asks the window manager and waits until the window is in front, at
    // most kActivationTimeout; whether it is. Without a window manager it
    // raises the window and gives it the focus.
    bool SetForegroundWindow(WindowHandle window) override;
    ThreadId GetWindowThreadProcessId(WindowHandle window) override;
    bool AttachThreadInput(ThreadId, ThreadId, bool) override { return true; }
    bool IsIconic(WindowHandle window) override;
    // Maps the window; a minimised one only for kShowWindowRestore. Whether
    // it was visible before.
    bool ShowWindow(WindowHandle window, int showCommand) override;
    // Down: any key with that virtual key is held. Toggled: Caps Lock or Num
    // Lock is locked.
    std::int16_t GetKeyState(int virtualKey) override;

  private:
    void OnXEvent(const XEvent& event) override;
    void FollowWindowManager();
    void ReadActiveWindow();
    WindowHandle FocusedTopLevel();
    WindowHandle TopLevelOf(Window window);
    void Follow(WindowHandle window);
    void Watch(WindowHandle window);
    std::u16string Caption(WindowHandle window);
    ThreadId ReadProcess(WindowHandle window);
    Display* display() const { return connection_.get(); }

    XConnection& connection_;
    X11Keymap& keymap_;
    DesktopAtoms atoms_;
    // The window manager's check window while it runs, else 0.
    WindowHandle windowManager_ = 0;
    WindowHandle activeWindow_ = 0;
    // The keyboard focus left the active window, and the window manager has
    // not named another one yet.
    bool focusLeftActive_ = false;
    // The window in front, its caption and its process, followed through
    // property events.
    WindowHandle foreground_ = 0;
    std::u16string caption_;
    ThreadId process_ = 0;
    // The last focus window looked at, and its top-level window.
    Window focusSeen_ = None;
    WindowHandle focusTopLevel_ = 0;
};

}  // namespace tavro::x11
