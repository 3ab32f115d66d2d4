#pragma once

#include "platform/FileDialogs.h"

namespace tavro {

// The file dialogs on the desktop: Qt's own, the same on every desktop,
// over the window in front. The save dialog asks before it names an
// existing file.
class FileDialogBoxes final : public FileDialogs {
  public:
    std::optional<std::u16string> GetOpenFileName(const FileDialogOptions& options) override;
    std::optional<std::u16string> GetSaveFileName(const FileDialogOptions& options) override;
};

}  // namespace tavro
