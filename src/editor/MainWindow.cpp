#include "editor/MainWindow.h"

#include "editor/SortedListBox.h"

namespace tavro {

MainWindow::MainWindow(const MainWindowPorts& ports)
    : form_(ports.programFolder),
      engine_(EnginePorts{.windows = ports.windows,
                          .layout = ports.layout,
                          .injector = ports.injector,
                          .shell = ports.shell,
                          .program = form_,
                          .keyBufferPage = form_,
                          .commands = form_,
                          .staging = form_,
                          .clipboard = ports.clipboard,
                          .tray = ports.trayIcon,
                          .eventLoop = ports.eventLoop,
                          .clock = ports.clock,
                          .choice = ports.choice,
                          .messages = ports.messages}),
      store_({.triggers = engine_.Triggers(),
              .applications = engine_.Applications(),
              .programFolder = ports.programFolder,
              .engine = ports.database,
              .messages = ports.messages,
              .exit = ports.exit,
              .lstTriggers = form_.TriggerList(),
              .tray = ports.trayMenu,
              .lstSendKey = form_.SendKeyList(),
              .lstTextOnly = form_.TextOnlyList(),
              .staging = form_}),
      lists_({.applications = engine_.Applications(),
              .programFolder = ports.programFolder,
              .engine = ports.database,
              .messages = ports.messages,
              .input = ports.input,
              .lstSendKey = form_.SendKeyList(),
              .lstTextOnly = form_.TextOnlyList()}),
      editor_({.triggers = engine_.Triggers(),
               .store = store_,
               .controls = form_,
               .lstTriggers = form_.TriggerList(),
               .messages = ports.messages,
               .questions = ports.questions,
               .programFolder = ports.programFolder}),
      lifecycle_({.engine = engine_,
                  .store = store_,
                  .editor = editor_,
                  .controls = form_,
                  .questions = ports.questions,
                  .programFolder = ports.programFolder}),
      help_(engine_.Windows(), ports.messages, ports.programFolder) {
    form_.Attach({.editor = &editor_, .lists = &lists_, .lifecycle = &lifecycle_, .help = &help_});
}

}  // namespace tavro
