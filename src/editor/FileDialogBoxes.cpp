#include "editor/FileDialogBoxes.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace tavro {

namespace {

std::optional<std::u16string> ShowFileDialog(const FileDialogOptions& options,
                                             QFileDialog::AcceptMode mode) {
    const bool open = mode == QFileDialog::AcceptOpen;
    QFileDialog dialog(QApplication::activeWindow(),
                       open ? QStringLiteral("Open") : QStringLiteral("Save As"));
    // Qt's own dialog, which matches the patterns without regard to case.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    QStringList filters;
    for (const std::u16string& filter : options.filters) {
        filters.push_back(QString::fromStdU16String(filter));
    }
    dialog.setNameFilters(filters);
    dialog.setDirectory(QString::fromStdU16String(options.folder));
    if (!options.file.empty()) {
        dialog.selectFile(QString::fromStdU16String(options.file));
    }
    dialog.setDefaultSuffix(QString::fromStdU16String(options.defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QFileInfo(dialog.selectedFiles().front()).absoluteFilePath().toStdU16String();
}

}  // namespace

std::optional<std::u16string> FileDialogBoxes::GetOpenFileName(const FileDialogOptions& options) {
    return ShowFileDialog(options, QFileDialog::AcceptOpen);
}

std::optional<std::u16string> FileDialogBoxes::GetSaveFileName(const FileDialogOptions& options) {
    return ShowFileDialog(options, QFileDialog::AcceptSave);
}

}  // namespace tavro
