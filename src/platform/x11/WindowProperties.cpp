#include "platform/x11/WindowProperties.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <memory>

#include "text/Utf8.h"

namespace tavro::x11 {

namespace {

struct XFreeDeleter {
    void operator()(void* data) const { XFree(data); }
};

// At most this many 32-bit units of a property are read.
constexpr long kLongestProperty = 4096;

}  // namespace

DesktopAtoms::DesktopAtoms(Display* display)
    : netActiveWindow(XInternAtom(display, "_NET_ACTIVE_WINDOW", False)),
      netSupportingWmCheck(XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False)),
      netWmName(XInternAtom(display, "_NET_WM_NAME", False)),
      utf8String(XInternAtom(display, "UTF8_STRING", False)),
      netWmPid(XInternAtom(display, "_NET_WM_PID", False)),
      wmState(XInternAtom(display, "WM_STATE", False)) {}

std::vector<unsigned long> ReadLongs(Display* display, Window window, Atom property, Atom type) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (window == None ||
        XGetWindowProperty(display, window, property, 0, kLongestProperty, False, type, &actualType,
                           &format, &count, &remaining, &data) != Success) {
        return {};
    }
    const std::unique_ptr<unsigned char, XFreeDeleter> owned(data);
    if (actualType != type || format != 32 || data == nullptr) {
        return {};
    }
    // Xlib hands 32-bit items over as longs.
    const auto* items = reinterpret_cast<const unsigned long*>(data);
    return std::vector<unsigned long>(items, items + count);
}

std::u16string ReadCaption(Display* display, Window window, const DesktopAtoms& atoms) {
    XTextProperty name{};
    if (window == None || (!XGetTextProperty(display, window, &name, atoms.netWmName) &&
                           !XGetTextProperty(display, window, &name, XA_WM_NAME))) {
        return {};
    }
    const std::unique_ptr<unsigned char, XFreeDeleter> owned(name.value);
    if (name.value == nullptr || name.format != 8) {
        return {};
    }
    const std::string_view bytes(reinterpret_cast<const char*>(name.value), name.nitems);
    if (name.encoding == atoms.utf8String) {
        return FromUtf8(bytes);
    }
    std::u16string latin1;
    for (const char byte : bytes) {
        latin1 += static_cast<char16_t>(static_cast<unsigned char>(byte));
    }
    return latin1;
}

void SendToWindowManager(Display* display, Window window, Atom messageType,
                         const std::array<long, 5>& data) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = messageType;
    event.xclient.format = 32;
    for (std::size_t i = 0; i < data.size(); ++i) {
        event.xclient.data.l[i] = data[i];
    }
    XSendEvent(display, DefaultRootWindow(display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
}

}  // namespace tavro::x11
