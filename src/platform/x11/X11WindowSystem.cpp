#include "platform/x11/X11WindowSystem.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <algorithm>

#include "platform/x11/VirtualKeyCodes.h"
#include "platform/x11/X11Keymap.h"

namespace tavro::x11 {

namespace {

// _NET_ACTIVE_WINDOW's source indication: a pager, acting for the user.
constexpr long kSourcePager = 2;
constexpr std::int16_t kKeyDown = static_cast<std::int16_t>(0xFF80);
constexpr std::int16_t kKeyToggled = 1;

}  // namespace

X11WindowSystem::X11WindowSystem(XConnection& connection, X11Keymap& keymap)
    : connection_(connection), keymap_(keymap), atoms_(connection.get()) {
    XSelectInput(display(), connection_.Root(), PropertyChangeMask);
    connection_.AddListener(*this);
    FollowWindowManager();
    ReadActiveWindow();
}

X11WindowSystem::~X11WindowSystem() {
    connection_.RemoveListener(*this);
    XSelectInput(display(), connection_.Root(), NoEventMask);
    const WindowHandle watched[] = {foreground_, windowManager_};
    foreground_ = 0;
    windowManager_ = 0;
    for (const WindowHandle window : watched) {
        Watch(window);
    }
    XFlush(display());
}

WindowHandle X11WindowSystem::GetForegroundWindow() {
    connection_.ProcessReceivedEvents();
    if (windowManager_ != 0 && activeWindow_ != 0 && !focusLeftActive_) {
        Follow(activeWindow_);
        return foreground_;
    }
    const WindowHandle focused = FocusedTopLevel();
    if (focused == activeWindow_) {
        focusLeftActive_ = false;  // back before the window manager noticed
    }
    Follow(focused);
    return foreground_;
}

int X11WindowSystem::GetWindowTextLengthA(WindowHandle window) {
    return static_cast<int>(Caption(window).size());
}

std::u16string X11WindowSystem::GetWindowTextA(WindowHandle window, int maxCount) {
    const std::u16string caption = Caption(window);
    const auto room = static_cast<std::size_t>(maxCount > 0 ? maxCount - 1 : 0);
    return caption.substr(0, room);
}

bool X11WindowSystem::SetForegroundWindow(WindowHandle window) {
    XWindowAttributes attributes{};
    if (window == 0 || !XGetWindowAttributes(display(), window, &attributes)) {
        return false;
    }
    connection_.ProcessPendingEvents();
    if (windowManager_ == 0) {
        // Nobody else gives the focus.
        if (attributes.map_state != IsViewable) {
            return false;
        }
        XRaiseWindow(display(), window);
        XSetInputFocus(display(), window, RevertToPointerRoot, CurrentTime);
        XSync(display(), False);
        return GetForegroundWindow() == window;
    }
    SendToWindowManager(display(), window, atoms_.netActiveWindow,
                        {kSourcePager, CurrentTime, static_cast<long>(foreground_), 0, 0});
    const auto deadline = std::chrono::steady_clock::now() + kActivationTimeout;
    while (GetForegroundWindow() != window) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        connection_.WaitForInput(left);
    }
    return true;
}

ThreadId X11WindowSystem::GetWindowThreadProcessId(WindowHandle window) {
    connection_.ProcessRecentEvents();
    return window != 0 && window == foreground_ ? process_ : ReadProcess(window);
}

ThreadId X11WindowSystem::ReadProcess(WindowHandle window) {
    const std::vector<unsigned long> pid =
        ReadLongs(display(), window, atoms_.netWmPid, XA_CARDINAL);
    return pid.empty() ? 0 : static_cast<ThreadId>(pid.front());
}

bool X11WindowSystem::IsIconic(WindowHandle window) {
    const std::vector<unsigned long> state =
        ReadLongs(display(), window, atoms_.wmState, atoms_.wmState);
    return !state.empty() && state.front() == IconicState;
}

bool X11WindowSystem::ShowWindow(WindowHandle window, int showCommand) {
    XWindowAttributes attributes{};
    if (window == 0 || !XGetWindowAttributes(display(), window, &attributes)) {
        return false;
    }
    if (showCommand == kShowWindowRestore || !IsIconic(window)) {
        XMapWindow(display(), window);
        XFlush(display());
    }
    return attributes.map_state == IsViewable;
}

std::int16_t X11WindowSystem::GetKeyState(int virtualKey) {
    std::int16_t keyState = 0;
    const std::bitset<256> keysDown = connection_.KeysDown();
    for (std::size_t keycode = 0; keycode < keysDown.size(); ++keycode) {
        if (!keysDown[keycode]) {
            continue;
        }
        const X11Keymap::Key& key = keymap_.KeyOf(static_cast<KeyCode>(keycode));
        if (key.virtualKey == virtualKey || key.virtualKeyWithoutNumLock == virtualKey) {
            keyState = kKeyDown;
        }
    }
    XkbStateRec state{};
    XkbGetState(display(), XkbUseCoreKbd, &state);
    const bool toggled =
        (virtualKey == kVirtualKeyCapsLock && (state.locked_mods & LockMask) != 0) ||
        (virtualKey == kVirtualKeyNumLock && (state.locked_mods & keymap_.NumLockMask()) != 0);
    return static_cast<std::int16_t>(keyState | (toggled ? kKeyToggled : 0));
}

void X11WindowSystem::OnXEvent(const XEvent& event) {
    if (event.type == DestroyNotify && windowManager_ != 0 &&
        event.xdestroywindow.window == windowManager_) {
        windowManager_ = 0;
        return;
    }
    // The window manager may lag behind the keyboard focus by many keys: the
    // focus leaving the active window makes the window with the focus the
    // one in front at once.
    if (event.type == FocusOut) {
        const XFocusChangeEvent& change = event.xfocus;
        const bool ownChange = change.mode == NotifyNormal || change.mode == NotifyWhileGrabbed;
        if (change.window == activeWindow_ && ownChange && change.detail != NotifyInferior &&
            change.detail != NotifyPointer) {
            focusLeftActive_ = true;
        }
        return;
    }
    if (event.type != PropertyNotify) {
        return;
    }
    const XPropertyEvent& change = event.xproperty;
    if (change.window == connection_.Root()) {
        if (change.atom == atoms_.netActiveWindow) {
            ReadActiveWindow();
        } else if (change.atom == atoms_.netSupportingWmCheck) {
            FollowWindowManager();
        }
    } else if (change.window == foreground_) {
        if (change.atom == atoms_.netWmName || change.atom == XA_WM_NAME) {
            caption_ = ReadCaption(display(), foreground_, atoms_);
        } else if (change.atom == atoms_.netWmPid) {
            process_ = ReadProcess(foreground_);
        }
    }
}

// A window manager is there while the window its _NET_SUPPORTING_WM_CHECK
// names exists and names itself; the server destroys that window when the
// window manager ends, however it ends, and tells this program.
void X11WindowSystem::FollowWindowManager() {
    const WindowHandle before = windowManager_;
    const std::vector<unsigned long> check =
        ReadLongs(display(), connection_.Root(), atoms_.netSupportingWmCheck, XA_WINDOW);
    const auto window = static_cast<WindowHandle>(check.empty() ? 0 : check.front());
    windowManager_ = window;
    Watch(before);
    Watch(window);
    // Read after asking to hear of its end: a window gone before is seen here.
    const std::vector<unsigned long> self =
        ReadLongs(display(), window, atoms_.netSupportingWmCheck, XA_WINDOW);
    if (self.empty() || self.front() != window) {
        windowManager_ = 0;
        Watch(window);
    }
}

void X11WindowSystem::ReadActiveWindow() {
    const std::vector<unsigned long> active =
        ReadLongs(display(), connection_.Root(), atoms_.netActiveWindow, XA_WINDOW);
    activeWindow_ = static_cast<WindowHandle>(active.empty() ? 0 : active.front());
    focusLeftActive_ = false;
}

// The top-level window that has the keyboard focus: the focus window (the
// window under the pointer while the focus follows it), or the window
// above it that is a child of the root; a window on the way that a window
// manager (since gone) marked with WM_STATE is the application's own
// top-level window. 0 when the focus is on the root window or nowhere.
WindowHandle X11WindowSystem::FocusedTopLevel() {
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(display(), &focus, &revertTo);
    if (focus == PointerRoot) {
        Window root = None;
        int rootX = 0;
        int rootY = 0;
        int x = 0;
        int y = 0;
        unsigned int buttons = 0;
        XQueryPointer(display(), connection_.Root(), &root, &focus, &rootX, &rootY, &x, &y,
                      &buttons);
    }
    if (focus == None || focus == connection_.Root()) {
        return 0;
    }
    if (focus != focusSeen_) {
        focusSeen_ = focus;
        focusTopLevel_ = TopLevelOf(focus);
    }
    return focusTopLevel_;
}

WindowHandle X11WindowSystem::TopLevelOf(Window window) {
    Window client = None;
    while (true) {
        if (client == None &&
            !ReadLongs(display(), window, atoms_.wmState, atoms_.wmState).empty()) {
            client = window;
        }
        Window root = None;
        Window parent = None;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display(), window, &root, &parent, &children, &count)) {
            return 0;
        }
        if (children != nullptr) {
            XFree(children);
        }
        if (parent == root || parent == None) {
            break;
        }
        window = parent;
    }
    return static_cast<WindowHandle>(client != None ? client : window);
}

// Watches the title and the process of the window in front from now on,
// and reads them.
void X11WindowSystem::Follow(WindowHandle window) {
    if (window == foreground_) {
        return;
    }
    const WindowHandle before = foreground_;
    foreground_ = window;
    Watch(before);
    Watch(foreground_);
    caption_ = ReadCaption(display(), foreground_, atoms_);
    process_ = foreground_ == 0 ? 0 : ReadProcess(foreground_);
}

// Asks for the events of the window this program needs now: the title of
// the window in front and the focus leaving it, the end of the window
// manager's check window (one window may be both: a window manager may
// focus its check window).
void X11WindowSystem::Watch(WindowHandle window) {
    if (window == 0) {
        return;
    }
    long events = NoEventMask;
    if (window == foreground_) {
        events |= PropertyChangeMask | FocusChangeMask;
    }
    if (window == windowManager_) {
        events |= StructureNotifyMask;
    }
    XSelectInput(display(), window, events);
}

// The window followed last keeps its caption up to date through its
// property events until another one is followed.
std::u16string X11WindowSystem::Caption(WindowHandle window) {
    connection_.ProcessRecentEvents();
    if (window != 0 && window == foreground_) {
        return caption_;
    }
    return ReadCaption(display(), window, atoms_);
}

}  // namespace tavro::x11
