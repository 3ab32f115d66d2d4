#include "platform/fake/FakeWindows.h"

#include "platform/fake/CallLog.h"

namespace tavro::fake {

namespace {

std::string Number(std::int64_t value) {
    return std::to_string(value);
}

}  // namespace

void FakeWindows::AddWindow(WindowHandle window, std::u16string caption, ThreadId thread) {
    windows_[window] = Window{std::move(caption), thread, false};
}

void FakeWindows::SetCaption(WindowHandle window, std::u16string caption) {
    windows_[window].caption = std::move(caption);
}

void FakeWindows::SetIconic(WindowHandle window, bool iconic) {
    windows_[window].iconic = iconic;
}

const FakeWindows::Window* FakeWindows::Find(WindowHandle window) const {
    const auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : &found->second;
}

WindowHandle FakeWindows::GetForegroundWindow() {
    log_.Record([&] { return std::string("GetForegroundWindow()"); });
    return foreground_;
}

int FakeWindows::GetWindowTextLengthA(WindowHandle window) {
    log_.Record([&] { return FormatCall("GetWindowTextLengthA", {Number(window)}); });
    const Window* found = Find(window);
    return found == nullptr ? 0 : static_cast<int>(found->caption.size());
}

std::u16string FakeWindows::GetWindowTextA(WindowHandle window, int maxCount) {
    log_.Record([&] { return FormatCall("GetWindowTextA", {Number(window), Number(maxCount)}); });
    const Window* found = Find(window);
    if (found == nullptr || maxCount <= 1) {
        return {};
    }
    return found->caption.substr(0, static_cast<std::size_t>(maxCount - 1));
}

bool FakeWindows::SetForegroundWindow(WindowHandle window) {
    log_.Record([&] { return FormatCall("SetForegroundWindow", {Number(window)}); });
    if (refusals_ > 0) {
        --refusals_;
        return false;
    }
    foreground_ = window;
    return true;
}

ThreadId FakeWindows::GetWindowThreadProcessId(WindowHandle window) {
    log_.Record([&] { return FormatCall("GetWindowThreadProcessId", {Number(window)}); });
    const Window* found = Find(window);
    return found == nullptr ? 0 : found->thread;
}

bool FakeWindows::AttachThreadInput(ThreadId attach, ThreadId attachTo, bool doAttach) {
    log_.Record([&] {
        return FormatCall("AttachThreadInput",
                          {Number(attach), Number(attachTo), Number(doAttach ? -1 : 0)});
    });
    return true;
}

bool FakeWindows::IsIconic(WindowHandle window) {
    log_.Record([&] { return FormatCall("IsIconic", {Number(window)}); });
    const Window* found = Find(window);
    return found != nullptr && found->iconic;
}

bool FakeWindows::ShowWindow(WindowHandle window, int showCommand) {
    log_.Record([&] { return FormatCall("ShowWindow", {Number(window), Number(showCommand)}); });
    if (const auto found = windows_.find(window);
        found != windows_.end() && showCommand == kShowWindowRestore) {
        found->second.iconic = false;
    }
    return true;
}

std::int16_t FakeWindows::GetKeyState(int virtualKey) {
    log_.Record([&] { return FormatCall("GetKeyState", {Number(virtualKey)}); });
    const auto found = keyStates_.find(virtualKey);
    return found == keyStates_.end() ? 0 : found->second;
}

std::intptr_t FakeWindows::ShellExecuteA(WindowHandle owner, const std::u16string& operation,
                                         const std::u16string& file,
                                         const std::u16string& parameters,
                                         const std::u16string& directory, int showCommand) {
    log_.Record([&] {
        return FormatCall("ShellExecuteA",
                          {Number(owner), Quoted(operation), Quoted(file), Quoted(parameters),
                           Quoted(directory), Number(showCommand)});
    });
    return 42;  // above 32: success
}

WindowHandle FakeWindows::MainWindowHandle() {
    return mainWindow_;
}

std::u16string FakeWindows::ActiveControlName() {
    return activeControl_;
}

std::u16string FakeWindows::ProgramFolder() {
    return programFolder_;
}

}  // namespace tavro::fake
