#include "support/X11Engine.h"

#include <poll.h>

#include <algorithm>

namespace tavro::x11::test {

namespace {

// The period of the program's foreground-watch timer.
constexpr std::chrono::milliseconds kTimerPeriod{500};

}  // namespace

X11Ports::X11Ports(const std::string& displayName) : connection(displayName), hook(displayName) {}

bool X11Ports::RunUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        RunOnce(std::min(left, kTimerPeriod));
    }
    return true;
}

void X11Ports::RunFor(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    RunUntil([&] { return std::chrono::steady_clock::now() >= end; }, duration * 2);
}

void X11Ports::RunOnce(std::chrono::milliseconds timeout) {
    pollfd descriptors[] = {
        {.fd = hook.FileDescriptor(), .events = POLLIN, .revents = 0},
        {.fd = connection.FileDescriptor(), .events = POLLIN, .revents = 0},
    };
    poll(descriptors, 2, static_cast<int>(timeout.count()));
    hook.ProcessPendingEvents();
    connection.ProcessPendingEvents();
    const auto now = std::chrono::steady_clock::now();
    if (now - lastTimer_ >= kTimerPeriod) {
        hook.RequestRecordedEvents();
        injector.RestoreKeymapWhenIdle();
        lastTimer_ = now;
    }
}

X11Engine::X11Engine(const std::string& displayName)
    : ports(displayName),
      engine(EnginePorts{
          .windows = ports.windows,
          .layout = ports.layout,
          .injector = ports.injector,
          .shell = ports.shell,
          .program = fakes.windows,
          .keyBufferPage = fakes.desktop,
          .commands = fakes.desktop,
          .staging = fakes.desktop,
          .clipboard = fakes.desktop,
          .tray = fakes.desktop,
          .eventLoop = ports,
          .clock = fakes.desktop,
          .choice = fakes.desktop,
          .messages = fakes.desktop,
      }) {
    fakes.windows.SetMainWindow(1);
    ports.hook.Start(engine);
}

void X11Engine::AddTrigger(const std::u16string& trigger, const std::u16string& replaceText) {
    TriggerTable& table = engine.Triggers();
    const int slot = table.TriggerCount++;
    TriggerRecord& record = table.Slot(slot);
    record.Trigger = trigger;
    record.Display = trigger;
    record.ReplaceText = replaceText;
    record.Type = u"Text";
    fake::StagedTrigger staged;
    staged.replaceText = replaceText;
    fakes.desktop.Stage(slot, staged);
}

}  // namespace tavro::x11::test
