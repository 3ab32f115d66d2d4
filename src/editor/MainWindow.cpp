#include "editor/MainWindow.h"

#include "editor/ImagePage.h"
#include "editor/RichTextPage.h"
#include "editor/SortedListBox.h"

namespace tavro {

MainWindow::MainWindow(const MainWindowPorts& ports)
    : form_(ports.programFolder, ports.contentFiles),
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
               .richTextFile = richTextFile_,
               .imageFile = imageFile_,
               .programFolder = ports.programFolder}),
      richTextFile_(ContentFileDependencies(ports), *form_.richTextPage),
      imageFile_(ContentFileDependencies(ports), *form_.imagePage),
      lifecycle_({.engine = engine_,
                  .store = store_,
                  .editor = editor_,
                  .controls = form_,
                  .questions = ports.questions,
                  .programFolder = ports.programFolder}),
      help_(engine_.Windows(), ports.messages, ports.programFolder),
      legend_(
          {.windows = engine_.Windows(), .messages = ports.messages, .pictures = ports.pictures},
          ports.programFolder) {
    form_.Attach({.editor = &editor_,
                  .lists = &lists_,
                  .lifecycle = &lifecycle_,
                  .help = &help_,
                  .richTextFile = &richTextFile_,
                  .imageFile = &imageFile_,
                  .legend = &legend_,
                  .triggers = &engine_.Triggers()});
}

ContentFileCommands::Dependencies MainWindow::ContentFileDependencies(
    const MainWindowPorts& ports) {
    return {.triggers = engine_.Triggers(),
            .editor = editor_,
            .controls = form_,
            .dialogs = ports.fileDialogs,
            .messages = ports.messages,
            .windows = engine_.Windows(),
            .programFolder = ports.programFolder};
}

}  // namespace tavro
