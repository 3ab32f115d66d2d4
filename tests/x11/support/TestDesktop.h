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
// its own (mousepad runs one instance per session), openbox unless told
// otherwise, and the applications typed into. xdotool and xclip serve as
// instruments independent of the code under test. Everything it started is
// stopped by process id when it goes.
class TestDesktop {
  public:
    enum class WindowManager { Openbox, Absent };

    explicit TestDesktop(WindowManager windowManager = WindowManager::Openbox);
    TestDesktop(const TestDesktop&) = delete;
    TestDesktop& operator=(const TestDesktop&) = delete;

    const std::string& DisplayName() const { return displayName_; }
    const Environment& ProgramEnvironment() const { return environment_; }
    // Another D-Bus session, ending with the desktop, for programs that must
    // not meet the desktop's own mousepad: the environment entry naming it.
    std::string StartAnotherBus();

    ToolResult Run(const std::vector<std::string>& command, const std::string& input = "") const;
    // Fails the test when xdotool fails.
    void Xdotool(const std::vector<std::string>& arguments) const;
    // Ends the window manager at once, as a crash would.
    void KillWindowManager();

    // The windows are returned once in front (without a window manager:
    // once they have the focus). The first call starts mousepad.
    WindowId OpenMousepadWindow();
    WindowId OpenFeatherpadWindow();
    // An xterm with the title, running the shell command, once shown.
    WindowId OpenXterm(const std::string& title, const std::string& command);
    void Focus(WindowId window) const;
    pid_t MousepadPid() const { return mousepad_ ? mousepad_->Pid() : 0; }
    std::vector<WindowId> MousepadWindows() const { return WindowsOfClass("mousepad"); }
    // The windows `xdotool search` finds with these arguments.
    std::vector<WindowId> Windows(const std::vector<std::string>& search) const;
    WindowId ActiveWindow() const;
    bool Viewable(WindowId window) const;
    std::string WindowName(WindowId window) const;

    // The whole text (UTF-8) of the mousepad window in front, copied through
    // the clipboard after every key sent before.
    std::string EditorText() const;
    void ClearEditor() const { Xdotool({"key", "ctrl+a", "Delete"}); }
    // Offers the content on the clipboard until something else is copied,
    // as text or as the type given (such as image/png).
    void SetClipboard(const std::string& content, const std::string& type = "");

    // The keysyms of every keycode, as the core protocol shows the keymap.
    std::vector<unsigned long> Keymap() const;

  private:
    void SetEnvironment(const std::string& busAddress);
    std::vector<WindowId> WindowsOfClass(const std::string& windowClass) const {
        return Windows({"--onlyvisible", "--class", windowClass});
    }
    WindowId WaitForNewWindow(const std::string& windowClass, const std::vector<WindowId>& before);
    std::unique_ptr<ChildProcess> Start(const std::vector<std::string>& command,
                                        const std::string& log) const;
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
