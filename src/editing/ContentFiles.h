#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavro {

class FileDialogs;

// An existing file for a trigger's content, picked in the open dialog. The
// dialog shows the current file when there is one, else the data folder.
// None when the user cancelled.
std::optional<std::u16string> ChooseContentFile(FileDialogs& dialogs,
                                                const std::filesystem::path& programFolder,
                                                const std::u16string& currentPath,
                                                const std::vector<std::u16string>& filters);

// The name of a new content file, chosen in the save dialog, which opens in
// the data folder (made first when it is missing) and adds the extension to
// a name typed without one. None when the user cancelled.
std::optional<std::u16string> ChooseNewContentFile(FileDialogs& dialogs,
                                                   const std::filesystem::path& programFolder,
                                                   std::u16string_view filter,
                                                   std::u16string_view extension);

// Writes the file whole, in place of an existing one. The content goes to a
// hidden file beside it first, which then takes the file's name, so that a
// save that fails halfway leaves the old file as it was. A read-only file,
// or anything but a file under that name, is not replaced. Whether the file
// now holds the content.
bool SaveContentFile(const std::u16string& path, std::string_view content);

}  // namespace tavro
