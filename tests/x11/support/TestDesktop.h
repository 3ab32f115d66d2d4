#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/TemporaryFolder.h"

namespace tavro::x11::test {

using tavro::test::TemporaryFolder;

using WindowId = unsigned long;

// Polls the condition until it holds or the timeout passes; whether it held.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));

// A desktop of its own for one test program: Xvfb on a free display (kept
// from resetting its keymap when the last client leaves), a D-Bus session of
// its own (mousepad runs one instance per session), the openbox window
// manager unless told otherwise, and mousepad as the application typed
// into. xdotool and xclip serve as instruments independent of the code
// under test. Everything it started is stopped by process id when it goes.
class TestDesktop {
  public:
    enum class WindowManager { Openbox, Absent };

    explicit TestDesktop(WindowManager windowManager = WindowManager::Openbox);
    TestDesktop(const TestDesktop&) = delete;
    TestDesktop& operator=(const TestDesktop&) = delete;

    const std::string& DisplayName() const { return displayName_; }
    // The environment of the programs started on this desktop.
    const Environment& ProgramEnvironment() const { return environment_; }
    // Starts another D-Bus session, for programs that must not meet the
    // desktop's (mousepad runs one instance per session), and returns the
    // environment entry that names it. It ends with the desktop.
    std::string StartAnotherBus();

    // Runs a tool on this desktop.
    ToolResult Run(const std::vector<std::string>& command, const std::string& input = "") const;
    // xdotool with these arguments; fails the test when it does.
    void Xdotool(const std::vector<std::string>& arguments) const;

    // Ends the window manager at once, as a crash would (SIGKILL).
    void KillWindowManager();

    // Opens a mousepad window (the first call starts mousepad) and returns
    // it once it is in front (without a window manager: has the focus).
    WindowId OpenMousepadWindow();
    // Opens an xterm with the title, running the shell command, and returns
    // its window once it is shown; it goes with the desktop.
    WindowId OpenXterm(const std::string& title, const std::string& command);
    // Gives the window the keyboard focus, as a session without a window
    // manager does.
    void Focus(WindowId window) const;
    pid_t MousepadPid() const;
    // Starts featherpad (a Qt editor) and returns its window once it is in
    // front (without a window manager: has the focus).
    WindowId OpenFeatherpadWindow();
    // The mousepad windows shown now.
    std::vector<WindowId> MousepadWindows() const;
    // The windows `xdotool search` finds with these arguments.
    std::vector<WindowId> Windows(const std::vector<std::string>& search) const;
    WindowId ActiveWindow() const;
    bool Viewable(WindowId window) const;
    std::string WindowName(WindowId window) const;

    // The whole text of the mousepad window in front, copied through the
    // clipboard after every key sent before (UTF-8).
    std::string EditorText() const;
    void ClearEditor() const;
    // Offers the content on the clipboard (until something else is copied),
    // as text or, with a type, as that type (such as image/png).
    void SetClipboard(const std::string& content, const std::string& type = "");

    // The keysyms of every keycode, as the core protocol shows the keymap.
    std::vector<unsigned long> Keymap() const;

  private:
    void SetEnvironment(const std::string& busAddress);
    std::vector<WindowId> WindowsOfClass(const std::string& windowClass) const;
    // The window of this class that is new since `before` and in front, once
    // there is one.
    WindowId WaitForNewWindow(const std::string& windowClass, const std::vector<WindowId>& before);
    std::string ClipboardTimestamp() const;

    // Declared in the order of starting: they stop in reverse.
    TemporaryFolder folder_{"tavro-x11"};
    std::string displayName_;
    Environment environment_;
    std::unique_ptr<ChildProcess> server_;
    std::unique_ptr<DetachedProcess> bus_;
    std::vector<std::unique_ptr<DetachedProcess>> otherBuses_;
    std::unique_ptr<ChildProcess> windowManager_;
    std::unique_ptr<ChildProcess> mousepad_;
    std::unique_ptr<ChildProcess> featherpad_;
    std::vector<std::unique_ptr<ChildProcess>> terminals_;
    std::unique_ptr<ChildProcess> clipboardOwner_;
};

}  // namespace tavro::x11::test
