#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "engine/Engine.h"
#include "platform/EventLoop.h"
#include "platform/fake/FakePlatform.h"
#include "platform/x11/X11KeyInjector.h"
#include "platform/x11/X11KeyboardHook.h"
#include "platform/x11/X11KeyboardLayout.h"
#include "platform/x11/X11Keymap.h"
#include "platform/x11/X11Shell.h"
#include "platform/x11/X11WindowSystem.h"
#include "platform/x11/XConnection.h"

namespace tavro::x11::test {

// The X11 ports of one display, wired as the desktop program wires them: the
// hook's and the connection's sockets watched, the hook's recording asked
// for and the keymap restored on the foreground-watch timer. Yielding to it
// handles what has arrived.
struct X11Ports final : EventLoop {
    explicit X11Ports(const std::string& displayName);

    void YieldOnce() override { RunOnce(std::chrono::milliseconds(0)); }

    // Whether the condition came to hold within the timeout.
    bool RunUntil(const std::function<bool()>& condition,
                  std::chrono::milliseconds timeout = std::chrono::seconds(10));
    void RunFor(std::chrono::milliseconds duration);
    // Returns when the server has handled everything sent so far.
    void Sync() { XSync(connection.get(), False); }

    XConnection connection;
    X11KeyboardHook hook;
    X11Keymap keymap{connection};
    X11KeyboardLayout layout{keymap};
    X11KeyInjector injector{connection, keymap, hook};
    X11WindowSystem windows{connection, keymap};
    X11Shell shell;

  private:
    void RunOnce(std::chrono::milliseconds timeout);

    std::chrono::steady_clock::time_point lastTimer_{};
};

// An engine on the X11 ports, with the fake desktop (pages, staging area,
// clipboard, tray, menus) for the ports only a GUI provides. Its main window
// is no window of the display.
struct X11Engine {
    explicit X11Engine(const std::string& displayName);
    ~X11Engine() { ports.hook.Stop(); }
    X11Engine(const X11Engine&) = delete;
    X11Engine& operator=(const X11Engine&) = delete;

    // Puts a trigger into the next slot.
    void AddTrigger(const std::u16string& trigger, const std::u16string& replaceText);

    X11Ports ports;
    fake::FakePlatform fakes;
    Engine engine;
};

}  // namespace tavro::x11::test
