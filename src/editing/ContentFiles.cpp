#include "editing/ContentFiles.h"

#include <fstream>

#include "platform/FileDialogs.h"
#include "store/DataFolder.h"

namespace tavro {

namespace fs = std::filesystem;

std::optional<std::u16string> ChooseContentFile(FileDialogs& dialogs, const fs::path& programFolder,
                                                const std::u16string& currentPath,
                                                const std::vector<std::u16string>& filters) {
    FileDialogOptions options;
    options.folder = DataFolderPath(programFolder).u16string();
    options.filters = filters;
    if (ContentFileExists(currentPath)) {
        options.folder = fs::path(currentPath).parent_path().u16string();
        options.file = currentPath;
    }
    return dialogs.GetOpenFileName(options);
}

std::optional<std::u16string> ChooseNewContentFile(FileDialogs& dialogs,
                                                   const fs::path& programFolder,
                                                   std::u16string_view filter,
                                                   std::u16string_view extension) {
    CheckDataFolder(programFolder);
    FileDialogOptions options;
    options.folder = DataFolderPath(programFolder).u16string();
    options.filters = {std::u16string(filter)};
    options.defaultExtension = extension;
    return dialogs.GetSaveFileName(options);
}

bool SaveContentFile(const std::u16string& path, std::string_view content) {
    fs::path file(path);
    std::error_code error;
    const fs::file_status existing = fs::status(file, error);
    if (fs::exists(existing)) {
        constexpr fs::perms kWritable =
            fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
        if (!fs::is_regular_file(existing) ||
            (existing.permissions() & kWritable) == fs::perms::none) {
            return false;
        }
        // A link is followed: the file it names gets the content.
        file = fs::canonical(file, error);
        if (error) {
            return false;
        }
    }
    if (file.filename().empty()) {
        return false;
    }
    const fs::path saving = file.parent_path() / (u"." + file.filename().u16string() + u".saving");
    std::ofstream out(saving, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    if (!out.fail()) {
        if (fs::exists(existing)) {
            fs::permissions(saving, existing.permissions(), error);
        }
        fs::rename(saving, file, error);
        if (!error) {
            return true;
        }
    }
    fs::remove(saving, error);
    return false;
}

}  // namespace tavro
