#pragma once

#include <X11/Xlib.h>

#include <array>
#include <string>
#include <vector>

namespace tavro::x11 {

// The atoms of the window properties and messages the window operations use
// (ICCCM and EWMH).
struct DesktopAtoms {
    explicit DesktopAtoms(Display* display);

    Atom netActiveWindow;
    Atom netSupportingWmCheck;
    Atom netWmName;
    Atom utf8String;
    Atom netWmPid;
    Atom wmState;
};

// The items of a property of 32-bit format (CARDINAL, WINDOW, ATOM, ...);
// empty when the window has no such property.
std::vector<unsigned long> ReadLongs(Display* display, Window window, Atom property, Atom type);

// The window's title: _NET_WM_NAME, else WM_NAME (read as Latin-1 unless
// it is UTF-8).
std::u16string ReadCaption(Display* display, Window window, const DesktopAtoms& atoms);

// Asks the window manager for a change of the window, as EWMH describes: a
// client message to the root window.
void SendToWindowManager(Display* display, Window window, Atom messageType,
                         const std::array<long, 5>& data);

}  // namespace tavro::x11
