#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "editing/EditorControls.h"
#include "store/TriggerTable.h"

namespace tavro {

class ContentPageControls;
class FileDialogs;
class MessageBoxes;
class TriggerEditor;
class WindowOperations;

// What the rich-text and the image page have in common: a trigger's content
// file, named in a path box, shown on the page, picked, made, opened in the
// desktop's program for it, and shown again after it was edited there.
//
// The page shows the file that the path box names and the trigger stores,
// or nothing: commands that show something else meanwhile (a pasted content
// while its name is asked for) show the file again when they end, whether
// they succeed, fail or are cancelled. A dialog cancelled changes nothing.
class ContentFileCommands {
  public:
    struct Dependencies {
        TriggerTable& triggers;
        TriggerEditor& editor;
        EditorControls& controls;
        FileDialogs& dialogs;
        MessageBoxes& messages;
        WindowOperations& windows;
        std::filesystem::path programFolder;
    };

    // Shows a trigger's file: its path in the box and its content on the
    // page; Refresh is hidden until the next Edit.
    void ShowFile(const std::u16string& path);
    // The path in the box changed: Edit is enabled while a file exists
    // there, and the page shows that file, or nothing.
    void PathChanged();

  protected:
    ContentFileCommands(const Dependencies& dependencies, ContentPageControls& page,
                        EditorField pathBox, std::u16string TriggerRecord::*storedPath);

    // Load: a file picked in the open dialog becomes the trigger's file.
    void Load(const std::vector<std::u16string>& filters);
    // Asks for the name of a new file in the data folder, saves the content
    // under it, and makes it the file of the trigger in `slot`, the trigger
    // shown when the command began. A failed save shows the message. Whether
    // the file was saved.
    bool SaveAsNewFile(int slot, std::string_view content, std::u16string_view filter,
                       std::u16string_view extension, std::u16string_view failure,
                       std::u16string_view failureTitle);
    // Edit: opens the file in the desktop's program for it; Refresh appears.
    void Edit();
    // Refresh: shows the file the trigger stores again; a file that cannot be
    // read is reported.
    void Refresh();

    int CurrentSlot() const { return d_.triggers.CurrentTrigger; }
    MessageBoxes& Messages() { return d_.messages; }

  private:
    std::u16string BoxPath();
    // The path becomes the file of the trigger in `slot`, which is shown
    // again if firing showed another trigger meanwhile.
    void StorePath(int slot, const std::u16string& path);

    Dependencies d_;
    ContentPageControls& page_;
    EditorField pathBox_;
    std::u16string TriggerRecord::*storedPath_;
};

}  // namespace tavro
