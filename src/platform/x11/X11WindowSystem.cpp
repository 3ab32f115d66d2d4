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
constexpr long kAddState = 1;
constexpr std::int16_t kKeyDown = static_cast<std::int16_t>(0xFF80);
constexpr std::int16_t kKeyToggled = 1;

}  // namespace

X11WindowSystem::X11WindowSystem(XConnection& connection, X11Keymap& keymap)
    : connection_(connection), keymap_(keymap), atoms_(connection.get()) {
    XSelectInput(display(), connection_.Root(), PropertyChangeMask);
    connection_.AddListener(*this);
    FollowActiveWindow();
}

X11WindowSystem::~X11WindowSystem() {
    connection_.RemoveListener(*this);
    XSelectInput(display(), connection_.Root(), NoEventMask);
    if (foreground_ != 0) {
        XSelectInput(display(), foreground_, NoEventMask);
    }
    XFlush(display());
}

WindowHandle X11WindowSystem::GetForegroundWindow() {
    connection_.ProcessPendingEvents();
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

bool X11WindowSystem::SetWindowPos(WindowHandle window, std::int32_t insertAfter, int, int, int,
                                   int, std::uint32_t) {
    XWindowAttributes attributes{};
    if (insertAfter != kInsertAfterTopmost || window == 0 ||
        !XGetWindowAttributes(display(), window, &attributes)) {
        return false;
    }
    const bool managed = !ReadLongs(display(), window, atoms_.wmState, atoms_.wmState).empty();
    if (managed) {
        SendToWindowManager(display(), window, atoms_.netWmState,
                            {kAddState, static_cast<long>(atoms_.netWmStateAbove), 0, 0, 0});
        return true;
    }
    // A window not yet shown states its wish itself; the window manager reads
    // it when the window is mapped.
    const std::vector<unsigned long> states =
        ReadLongs(display(), window, atoms_.netWmState, XA_ATOM);
    if (std::find(states.begin(), states.end(), atoms_.netWmStateAbove) == states.end()) {
        const auto above = static_cast<unsigned long>(atoms_.netWmStateAbove);
        XChangeProperty(display(), window, atoms_.netWmState, XA_ATOM, 32, PropModeAppend,
                        reinterpret_cast<const unsigned char*>(&above), 1);
        XFlush(display());
    }
    return true;
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
    if (event.type == FocusOut) {
        const XFocusChangeEvent& change = event.xfocus;
        const bool ownChange = change.mode == NotifyNormal || change.mode == NotifyWhileGrabbed;
        if (change.window == foreground_ && ownChange && change.detail != NotifyInferior &&
            change.detail != NotifyPointer) {
            FollowInputFocus();
        }
        return;
    }
    if (event.type != PropertyNotify) {
        return;
    }
    const XPropertyEvent& change = event.xproperty;
    if (change.window == connection_.Root() && change.atom == atoms_.netActiveWindow) {
        FollowActiveWindow();
    } else if (change.window == foreground_ &&
               (change.atom == atoms_.netWmName || change.atom == XA_WM_NAME)) {
        caption_ = ReadCaption(display(), foreground_, atoms_);
    }
}

void X11WindowSystem::FollowActiveWindow() {
    const std::vector<unsigned long> active =
        ReadLongs(display(), connection_.Root(), atoms_.netActiveWindow, XA_WINDOW);
    Follow(static_cast<WindowHandle>(active.empty() ? 0 : active.front()));
}

// The keyboard focus left the window in front, and the window manager has
// not said so yet (it may lag behind by many keys): the window in front is
// the top-level window that has the focus now.
void X11WindowSystem::FollowInputFocus() {
    Window window = 0;
    int revertTo = 0;
    XGetInputFocus(display(), &window, &revertTo);
    while (window != None && window != PointerRoot && window != connection_.Root() &&
           ReadLongs(display(), window, atoms_.wmState, atoms_.wmState).empty()) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display(), window, &root, &parent, &children, &count) == 0) {
            parent = None;
        }
        if (children != nullptr) {
            XFree(children);
        }
        window = parent;
    }
    Follow(window == PointerRoot || window == connection_.Root()
               ? 0
               : static_cast<WindowHandle>(window));
}

// Watches the window in front from now on (its title, and the keyboard
// focus leaving it), and reads its title.
void X11WindowSystem::Follow(WindowHandle window) {
    if (window != foreground_) {
        if (foreground_ != 0) {
            XSelectInput(display(), foreground_, NoEventMask);
        }
        if (window != 0) {
            XSelectInput(display(), window, PropertyChangeMask | FocusChangeMask);
        }
        foreground_ = window;
    }
    caption_ = ReadCaption(display(), foreground_, atoms_);
}

std::u16string X11WindowSystem::Caption(WindowHandle window) {
    if (window == GetForegroundWindow()) {
        return caption_;
    }
    return ReadCaption(display(), window, atoms_);
}

}  // namespace tavro::x11
