#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tavro {

// How a file dialog opens.
struct FileDialogOptions {
    // The folder it shows first.
    std::u16string folder;
    // The file chosen at first; "" for none.
    std::u16string file;
    // The kinds of file offered, the first one chosen, each as its name
    // followed by its patterns in parentheses: "Rich Text (*.RTF)". Patterns
    // match file names without regard to case.
    std::vector<std::u16string> filters;
    // Added, after a dot, to a name the user types without an extension.
    std::u16string defaultExtension;
};

// The desktop's dialogs for choosing a file to open or a name to save under.
class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    // The full path of the existing file the user picked; none when the
    // dialog was cancelled.
    virtual std::optional<std::u16string> GetOpenFileName(const FileDialogOptions& options) = 0;
    // The full path the user chose to save under; none when the dialog was
    // cancelled. The name of an existing file comes back only after the user
    // agreed to replace that file.
    virtual std::optional<std::u16string> GetSaveFileName(const FileDialogOptions& options) = 0;
};

}  // namespace tavro
