#include "editing/CommandLineDrop.h"

#include <filesystem>

namespace tavro {

std::optional<std::u16string> CommandLineFromDrop(const std::vector<std::u16string>& files,
                                                  const std::optional<std::u16string>& text) {
    if (!files.empty()) {
        std::error_code error;
        if (files.front().empty() || !std::filesystem::exists(files.front(), error)) {
            return std::nullopt;
        }
        return files.front();
    }
    return text;
}

}  // namespace tavro
