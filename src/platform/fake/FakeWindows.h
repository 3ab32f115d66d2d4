#pragma once

#include <map>
#include <string>

#include "platform/ProgramInfo.h"
#include "platform/Shell.h"
#include "platform/WindowSystem.h"

namespace tavro::fake {

class CallLog;

// A desktop of scripted windows: captions, owning threads, the window in
// front, minimised states and key states. Records every call.
class FakeWindows final : public WindowSystem, public Shell, public ProgramInfo {
  public:
    explicit FakeWindows(CallLog& log) : log_(log) {}

    // Scripting.
    void AddWindow(WindowHandle window, std::u16string caption, ThreadId thread);
    void SetCaption(WindowHandle window, std::u16string caption);
    void SetForeground(WindowHandle window) { foreground_ = window; }
    void SetIconic(WindowHandle window, bool iconic);
    // The next `count` calls of SetForegroundWindow fail and change nothing.
    void RefuseForeground(int count) { refusals_ = count; }
    void SetKeyState(int virtualKey, std::int16_t state) { keyStates_[virtualKey] = state; }
    void SetMainWindow(WindowHandle window) { mainWindow_ = window; }
    void SetActiveControl(std::u16string name) { activeControl_ = std::move(name); }
    void SetProgramFolder(std::u16string folder) { programFolder_ = std::move(folder); }

    // WindowSystem
    WindowHandle GetForegroundWindow() override;
    int GetWindowTextLengthA(WindowHandle window) override;
    std::u16string GetWindowTextA(WindowHandle window, int maxCount) override;
    bool SetForegroundWindow(WindowHandle window) override;
    ThreadId GetWindowThreadProcessId(WindowHandle window) override;
    bool AttachThreadInput(ThreadId attach, ThreadId attachTo, bool doAttach) override;
    bool IsIconic(WindowHandle window) override;
    bool ShowWindow(WindowHandle window, int showCommand) override;
    std::int16_t GetKeyState(int virtualKey) override;

    // Shell
    std::intptr_t ShellExecuteA(WindowHandle owner, const std::u16string& operation,
                                const std::u16string& file, const std::u16string& parameters,
                                const std::u16string& directory, int showCommand) override;

    // ProgramInfo
    WindowHandle MainWindowHandle() override;
    std::u16string ActiveControlName() override;
    std::u16string ProgramFolder() override;

  private:
    struct Window {
        std::u16string caption;
        ThreadId thread = 0;
        bool iconic = false;
    };

    const Window* Find(WindowHandle window) const;

    CallLog& log_;
    std::map<WindowHandle, Window> windows_;
    WindowHandle foreground_ = 0;
    int refusals_ = 0;
    std::map<int, std::int16_t> keyStates_;
    WindowHandle mainWindow_ = 0;
    std::u16string activeControl_;
    std::u16string programFolder_;
};

}  // namespace tavro::fake
