#pragma once

#include <filesystem>
#include <string>

namespace tavro {

class TriggerTable;

// The folder `data` beside the program, which holds the content files.
std::filesystem::path DataFolderPath(const std::filesystem::path& programFolder);

// Whether a content file exists under the path: a visible regular file;
// folders and hidden files do not count.
bool ContentFileExists(const std::u16string& path);

// Makes sure the data folder exists; an existing one is left alone. Returns
// false when it is missing and cannot be made.
bool CheckDataFolder(const std::filesystem::path& programFolder);

// The path to use for a stored content-file path: the path itself while a
// file is there; otherwise the file of the same name in the data folder, if
// there is one; otherwise the path itself, or "" for a path without any
// folder part.
std::u16string LocateContentFile(const std::u16string& path,
                                 const std::filesystem::path& programFolder);

// LocateContentFile, marking the table dirty when the file was found in the
// data folder in place of the stored path, so that the next save stores it.
std::u16string FindContentFile(const std::u16string& path,
                               const std::filesystem::path& programFolder, TriggerTable& triggers);

}  // namespace tavro
