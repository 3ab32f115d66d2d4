#include "engine/Engine.h"

namespace tavro {

Engine::Engine(const EnginePorts& ports)
    : windowOperations_(ports.windows, ports.shell, ports.program),
      sender_({.injector = ports.injector,
               .layout = ports.layout,
               .modifiers = capture_.modifiers,
               .delivery = capture_.delivery,
               .windows = ports.windows,
               .eventLoop = ports.eventLoop,
               .commands = ports.commands}),
      firer_({.triggers = triggers_,
              .applications = applications_,
              .capture = capture_,
              .sender = sender_,
              .windowOperations = windowOperations_,
              .staging = ports.staging,
              .clipboard = ports.clipboard,
              .tray = ports.tray,
              .eventLoop = ports.eventLoop,
              .clock = ports.clock,
              .messages = ports.messages}),
      matcher_(capture_.keyBuffer, triggers_, firer_, ports.choice),
      keyCapture_({.state = capture_,
                   .windows = ports.windows,
                   .windowOperations = windowOperations_,
                   .layout = ports.layout,
                   .program = ports.program,
                   .page = ports.keyBufferPage,
                   .commands = ports.commands,
                   .sender = sender_,
                   .matcher = matcher_}) {}

void Engine::KeyDownHook(const KeyEvent& event) {
    keyCapture_.WinHook1_KeyDownHook(event);
}

void Engine::KeyUpHook(const KeyEvent& event) {
    keyCapture_.WinHook1_KeyUpHook(event);
}

}  // namespace tavro
