#include "store/DataFolder.h"

#include "store/StoreStatements.h"
#include "store/TriggerTable.h"

namespace tavro {

bool ContentFileExists(const std::u16string& path) {
    const std::filesystem::path file(path);
    std::error_code error;
    return std::filesystem::is_regular_file(file, error) &&
           !file.filename().u16string().starts_with(u'.');
}

std::filesystem::path DataFolderPath(const std::filesystem::path& programFolder) {
    return programFolder / kDataFolderName;
}

bool CheckDataFolder(const std::filesystem::path& programFolder) {
    const std::filesystem::path folder = DataFolderPath(programFolder);
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) {
        return true;
    }
    return std::filesystem::create_directory(folder, error);
}

std::u16string LocateContentFile(const std::u16string& path,
                                 const std::filesystem::path& programFolder) {
    if (ContentFileExists(path)) {
        return path;
    }
    // Stored paths may come from either kind of system.
    const auto separator = path.find_last_of(u"\\/");
    if (separator == std::u16string::npos) {
        return u"";
    }
    const std::filesystem::path moved = DataFolderPath(programFolder) / path.substr(separator + 1);
    if (separator + 1 < path.size() && ContentFileExists(moved.u16string())) {
        return moved.u16string();
    }
    return path;
}

std::u16string FindContentFile(const std::u16string& path,
                               const std::filesystem::path& programFolder, TriggerTable& triggers) {
    std::u16string found = LocateContentFile(path, programFolder);
    if (!found.empty() && found != path) {
        triggers.TriggersDirty = true;
    }
    return found;
}

}  // namespace tavro
