#include "window/WindowOperations.h"

#include <algorithm>

#include "platform/ProgramInfo.h"
#include "platform/Shell.h"
#include "platform/WindowSystem.h"

namespace tavro {

WindowOperations::WindowOperations(WindowSystem& windows, Shell& shell, ProgramInfo& program)
    : windows_(windows), shell_(shell), program_(program) {}

void WindowOperations::ShellOpen(const std::u16string& file) {
    shell_.ShellExecuteA(program_.MainWindowHandle(), u"Open", file, u"", program_.ProgramFolder(),
                         kShowNormal);
}

std::u16string WindowOperations::GetForegroundCaption() {
    const WindowHandle window = windows_.GetForegroundWindow();
    const int length = std::max(windows_.GetWindowTextLengthA(window), 0);
    // A buffer of length + 1 blanks, into which the caption and its NUL are
    // written; a caption that shrank meanwhile leaves blanks after the NUL.
    std::u16string buffer(static_cast<std::size_t>(length) + 1, u' ');
    const std::u16string caption = windows_.GetWindowTextA(window, length + 1);
    const std::size_t copied = std::min(caption.size(), static_cast<std::size_t>(length));
    std::copy_n(caption.begin(), copied, buffer.begin());
    buffer[copied] = u'\0';
    return buffer;
}

bool WindowOperations::ActivateWindow(WindowHandle window) {
    windows_.SetForegroundWindow(window);
    if (windows_.GetForegroundWindow() == window) {
        return true;
    }
    const ThreadId foregroundThread =
        windows_.GetWindowThreadProcessId(windows_.GetForegroundWindow());
    const ThreadId windowThread = windows_.GetWindowThreadProcessId(window);
    bool activated = false;
    if (foregroundThread != windowThread) {
        windows_.AttachThreadInput(foregroundThread, windowThread, true);
        activated = windows_.SetForegroundWindow(window);
        windows_.AttachThreadInput(foregroundThread, windowThread, false);
    } else {
        activated = windows_.SetForegroundWindow(window);
    }
    windows_.ShowWindow(window, windows_.IsIconic(window) ? kShowWindowRestore : kShowWindowShow);
    return activated;
}

bool WindowOperations::KeyStateOn(int virtualKey) {
    return windows_.GetKeyState(virtualKey) != 0;
}

}  // namespace tavro
