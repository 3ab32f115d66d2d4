#pragma once

#include <filesystem>

#include "editing/FormLifecycle.h"
#include "editing/HelpCommands.h"
#include "editing/ImageFileCommands.h"
#include "editing/RichTextFileCommands.h"
#include "editing/TriggerEditor.h"
#include "editor/frmTavro.h"
#include "engine/Engine.h"
#include "legend/LegendPrinter.h"
#include "store/ApplicationListEditor.h"
#include "store/TriggerStore.h"

namespace tavro {

class ContentFileReader;
class DatabaseEngine;
class FileDialogs;
class InputBox;
class MessageBoxes;
class PictureLoader;
class ProgramExit;
class QuestionBox;
class TrayMenu;

// What the main window works through besides its own controls: the
// platform, the desktop's services and the database engine.
struct MainWindowPorts {
    WindowSystem& windows;
    KeyboardLayout& layout;
    KeyInjector& injector;
    Shell& shell;
    Clipboard& clipboard;
    TrayIcon& trayIcon;
    EventLoop& eventLoop;
    Clock& clock;
    TriggerChoice& choice;
    TrayMenu& trayMenu;
    DatabaseEngine& database;
    MessageBoxes& messages;
    QuestionBox& questions;
    InputBox& input;
    FileDialogs& fileDialogs;
    // Reads the pictures of the printed legend.
    PictureLoader& pictures;
    // Reads the rich-text and picture files of the triggers.
    ContentFileReader& contentFiles;
    ProgramExit& exit;
    std::filesystem::path programFolder;
};

// The main window with everything it owns for the whole run: the form and
// its controls, the engine with the triggers, the application lists and the
// capture state, the store, the rules the form's events go to, and the
// printer of the legend.
class MainWindow {
  public:
    explicit MainWindow(const MainWindowPorts& ports);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    frmTavro& Form() { return form_; }
    Engine& TheEngine() { return engine_; }
    TriggerStore& Store() { return store_; }
    TriggerEditor& Editor() { return editor_; }
    FormLifecycle& Lifecycle() { return lifecycle_; }

  private:
    ContentFileCommands::Dependencies ContentFileDependencies(const MainWindowPorts& ports);

    frmTavro form_;
    Engine engine_;
    TriggerStore store_;
    ApplicationListEditor lists_;
    // The editor and the two content pages each work through the other: the
    // editor shows a trigger's files on the pages, and the pages store the
    // files they make in the trigger the editor shows.
    TriggerEditor editor_;
    RichTextFileCommands richTextFile_;
    ImageFileCommands imageFile_;
    FormLifecycle lifecycle_;
    HelpCommands help_;
    LegendPrinter legend_;
};

}  // namespace tavro
