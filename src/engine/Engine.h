#pragma once

#include <string>

#include "capture/CaptureState.h"
#include "capture/KeyCapture.h"
#include "capture/TriggerMatcher.h"
#include "output/KeystrokeSender.h"
#include "output/TriggerFirer.h"
#include "platform/KeyboardHook.h"
#include "store/ApplicationLists.h"
#include "store/TriggerTable.h"
#include "window/WindowOperations.h"

namespace tavro {

class Clipboard;
class Clock;
class EventLoop;
class KeyBufferPage;
class KeyInjector;
class KeyboardLayout;
class MainWindowCommands;
class MessageBoxes;
class ProgramInfo;
class Shell;
class StagingArea;
class TrayIcon;
class TriggerChoice;
class WindowSystem;

// Everything outside the engine that it works through.
struct EnginePorts {
    WindowSystem& windows;
    KeyboardLayout& layout;
    KeyInjector& injector;
    Shell& shell;
    ProgramInfo& program;
    KeyBufferPage& keyBufferPage;
    MainWindowCommands& commands;
    StagingArea& staging;
    Clipboard& clipboard;
    TrayIcon& tray;
    EventLoop& eventLoop;
    Clock& clock;
    TriggerChoice& choice;
    MessageBoxes& messages;
};

// The triggers, the application lists and the capture state of one run, with
// the capture, matching, sending and firing that work on them.
class Engine final : public KeyEventSink {
  public:
    explicit Engine(const EnginePorts& ports);
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // The keyboard hook's events.
    void KeyDownHook(const KeyEvent& event) override;
    void KeyUpHook(const KeyEvent& event) override;
    // The foreground watch, every 500 ms.
    void Timer1_Timer() { keyCapture_.Timer1_Timer(); }
    // The modifier check boxes show the current flags.
    void ShowModifierState() { keyCapture_.ShowModifierState(); }

    TriggerTable& Triggers() { return triggers_; }
    ApplicationLists& Applications() { return applications_; }
    CaptureState& Capture() { return capture_; }
    WindowOperations& Windows() { return windowOperations_; }
    KeystrokeSender& Sender() { return sender_; }
    TriggerFirer& Firer() { return firer_; }

  private:
    TriggerTable triggers_;
    ApplicationLists applications_;
    CaptureState capture_;
    WindowOperations windowOperations_;
    KeystrokeSender sender_;
    TriggerFirer firer_;
    TriggerMatcher matcher_;
    KeyCapture keyCapture_;
};

}  // namespace tavro
