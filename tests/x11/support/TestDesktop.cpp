#include "support/TestDesktop.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace tavro::x11::test {

namespace {

constexpr std::chrono::milliseconds kPollInterval{20};
constexpr std::chrono::milliseconds kStartTimeout{20000};

std::string ValueAfter(const std::string& text, const std::string& name) {
    const std::size_t start = text.find(name + "=");
    if (start == std::string::npos) {
        return {};
    }
    const std::size_t valueStart = start + name.size() + 1;
    return text.substr(valueStart, text.find('\n', valueStart) - valueStart);
}

// The display number Xvfb writes once it is ready.
std::string ReadDisplayNumber(int fd) {
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    char c = 0;
    while (!line.ends_with('\n')) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd descriptor{.fd = fd, .events = POLLIN, .revents = 0};
        if (left.count() <= 0 || poll(&descriptor, 1, static_cast<int>(left.count())) <= 0 ||
            read(fd, &c, 1) != 1) {
            throw std::runtime_error("Xvfb did not start");
        }
        line += c;
    }
    line.pop_back();
    return line;
}

std::vector<WindowId> ParseWindows(const std::string& output) {
    std::vector<WindowId> windows;
    std::istringstream lines(output);
    WindowId window = 0;
    while (lines >> window) {
        windows.push_back(window);
    }
    return windows;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    return true;
}

TestDesktop::TestDesktop(WindowManager windowManager) {
    const std::filesystem::path runtime = folder_.Path() / "runtime";
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);

    // Xvfb picks a free display itself and writes its number to its output.
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe2 failed");
    }
    server_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"Xvfb", "-displayfd", "1", "-noreset", "-nolisten", "tcp",
                                 "-screen", "0", "1280x800x24"},
        EnvironmentWith({}), ends[1], (folder_.Path() / "xvfb.log").string());
    close(ends[1]);
    displayName_ = ":" + ReadDisplayNumber(ends[0]);
    close(ends[0]);

    SetEnvironment("");
    const ToolResult bus = Run({"dbus-launch"});
    bus_ = std::make_unique<DetachedProcess>(
        std::stoi(ValueAfter(bus.output, "DBUS_SESSION_BUS_PID")));
    SetEnvironment(ValueAfter(bus.output, "DBUS_SESSION_BUS_ADDRESS"));

    if (windowManager == WindowManager::Absent) {
        return;
    }
    windowManager_ = Start({"openbox", "--sm-disable"}, "openbox.log");
    const bool managed = WaitUntil(
        [this] {
            return Run({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).output.find("window id") !=
                   std::string::npos;
        },
        kStartTimeout);
    if (!managed) {
        throw std::runtime_error("openbox did not start");
    }
}

std::unique_ptr<ChildProcess> TestDesktop::Start(const std::vector<std::string>& command,
                                                 const std::string& log) const {
    return std::make_unique<ChildProcess>(command, environment_, std::nullopt,
                                          (folder_.Path() / log).string());
}

std::string TestDesktop::StartAnotherBus() {
    const ToolResult bus = Run({"dbus-launch"});
    otherBuses_.push_back(std::make_unique<DetachedProcess>(
        std::stoi(ValueAfter(bus.output, "DBUS_SESSION_BUS_PID"))));
    return "DBUS_SESSION_BUS_ADDRESS=" + ValueAfter(bus.output, "DBUS_SESSION_BUS_ADDRESS");
}

// The programs keep their settings, caches and runtime files in the
// desktop's folder, and stay off the accessibility bus.
void TestDesktop::SetEnvironment(const std::string& busAddress) {
    environment_ = EnvironmentWith({
        "DISPLAY=" + displayName_,
        "XDG_CONFIG_HOME=" + (folder_.Path() / "config").string(),
        "XDG_DATA_HOME=" + (folder_.Path() / "data").string(),
        "XDG_CACHE_HOME=" + (folder_.Path() / "cache").string(),
        "XDG_RUNTIME_DIR=" + (folder_.Path() / "runtime").string(),
        "GSETTINGS_BACKEND=memory",
        "NO_AT_BRIDGE=1",
        "DBUS_SESSION_BUS_ADDRESS=" + busAddress,
    });
}

ToolResult TestDesktop::Run(const std::vector<std::string>& command,
                            const std::string& input) const {
    return RunTool(command, environment_, input);
}

void TestDesktop::Xdotool(const std::vector<std::string>& arguments) const {
    std::vector<std::string> command{"xdotool"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    if (Run(command).exitCode != 0) {
        throw std::runtime_error("xdotool failed");
    }
}

void TestDesktop::KillWindowManager() {
    kill(windowManager_->Pid(), SIGKILL);
    windowManager_.reset();
}

WindowId TestDesktop::OpenMousepadWindow() {
    const std::vector<WindowId> before = MousepadWindows();
    if (mousepad_) {
        // A second mousepad hands the new window to the running one and ends.
        Run({"mousepad", "--opening-mode=window"});
    } else {
        mousepad_ = Start({"mousepad"}, "mousepad.log");
    }
    return WaitForNewWindow("mousepad", before);
}

WindowId TestDesktop::OpenFeatherpadWindow() {
    featherpad_ = Start({"featherpad"}, "featherpad.log");
    return WaitForNewWindow("featherpad", {});
}

WindowId TestDesktop::WaitForNewWindow(const std::string& windowClass,
                                       const std::vector<WindowId>& before) {
    WindowId opened = 0;
    const bool shown = WaitUntil(
        [&] {
            for (const WindowId window : WindowsOfClass(windowClass)) {
                if (std::find(before.begin(), before.end(), window) != before.end()) {
                    continue;
                }
                if (!windowManager_) {
                    Focus(window);
                }
                if (!windowManager_ || ActiveWindow() == window) {
                    opened = window;
                    return true;
                }
            }
            return false;
        },
        kStartTimeout);
    if (!shown) {
        throw std::runtime_error("no " + windowClass + " window came to the front");
    }
    return opened;
}

WindowId TestDesktop::OpenXterm(const std::string& title, const std::string& command) {
    terminals_.push_back(Start({"xterm", "-T", title, "-e", "sh", "-c", command}, "xterm.log"));
    std::vector<WindowId> shown;
    WaitUntil(
        [&] {
            shown = Windows({"--onlyvisible", "--name", title});
            return !shown.empty();
        },
        kStartTimeout);
    if (shown.empty()) {
        throw std::runtime_error("no xterm window was shown");
    }
    return shown.front();
}

std::vector<WindowId> TestDesktop::Windows(const std::vector<std::string>& search) const {
    std::vector<std::string> command{"xdotool", "search"};
    command.insert(command.end(), search.begin(), search.end());
    return ParseWindows(Run(command).output);
}

bool TestDesktop::Viewable(WindowId window) const {
    return Run({"xwininfo", "-id", std::to_string(window)}).output.find("IsViewable") !=
           std::string::npos;
}

void TestDesktop::Focus(WindowId window) const {
    Xdotool({"windowfocus", "--sync", std::to_string(window)});
}

WindowId TestDesktop::ActiveWindow() const {
    const std::vector<WindowId> active = ParseWindows(Run({"xdotool", "getactivewindow"}).output);
    return active.empty() ? 0 : active.front();
}

std::string TestDesktop::WindowName(WindowId window) const {
    std::string name = Run({"xdotool", "getwindowname", std::to_string(window)}).output;
    if (!name.empty() && name.back() == '\n') {
        name.pop_back();
    }
    return name;
}

std::vector<unsigned long> TestDesktop::Keymap() const {
    Display* display = XOpenDisplay(displayName_.c_str());
    if (display == nullptr) {
        throw std::runtime_error("cannot open the display");
    }
    int minKeycode = 0;
    int maxKeycode = 0;
    XDisplayKeycodes(display, &minKeycode, &maxKeycode);
    int perKeycode = 0;
    KeySym* keysyms = XGetKeyboardMapping(display, static_cast<KeyCode>(minKeycode),
                                          maxKeycode - minKeycode + 1, &perKeycode);
    std::vector<unsigned long> keymap(keysyms,
                                      keysyms + (maxKeycode - minKeycode + 1) * perKeycode);
    XFree(keysyms);
    XCloseDisplay(display);
    return keymap;
}

std::string TestDesktop::ClipboardTimestamp() const {
    return Run({"xclip", "-o", "-selection", "clipboard", "-t", "TIMESTAMP"}).output;
}

// Mousepad takes the clipboard anew for every copy: a new timestamp tells
// that the copy of the current text is there.
std::string TestDesktop::EditorText() const {
    const std::string before = ClipboardTimestamp();
    Xdotool({"key", "ctrl+a", "ctrl+c"});
    if (!WaitUntil([&] { return ClipboardTimestamp() != before; })) {
        return "(nothing was copied)";
    }
    return Run({"xclip", "-o", "-selection", "clipboard", "-t", "UTF8_STRING"}).output;
}

void TestDesktop::SetClipboard(const std::string& content, const std::string& type) {
    const std::filesystem::path file = folder_.Path() / "clipboard";
    std::ofstream(file, std::ios::binary) << content;
    std::vector<std::string> command{"xclip", "-quiet", "-selection", "clipboard"};
    if (!type.empty()) {
        command.insert(command.end(), {"-t", type});
    }
    command.insert(command.end(), {"-i", file.string()});
    const std::string before = ClipboardTimestamp();
    clipboardOwner_ = Start(command, "xclip.log");
    WaitUntil([&] { return ClipboardTimestamp() != before; });
}

}  // namespace tavro::x11::test
