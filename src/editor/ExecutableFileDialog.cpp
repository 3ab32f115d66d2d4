#include "editor/ExecutableFileDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>

namespace tavro {

namespace {

// Hides the files the user may not run while the "Executables" filter is
// chosen; folders always stay, to be opened.
class ExecutablesOnly final : public QSortFilterProxyModel {
  public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void SetActive(bool active) {
        active_ = active;
        invalidateFilter();
    }

  protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        if (!active_) {
            return true;
        }
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (files == nullptr) {
            return true;
        }
        const QFileInfo info = files->fileInfo(files->index(row, 0, parent));
        return info.isDir() || info.isExecutable();
    }

  private:
    bool active_ = true;
};

}  // namespace

QString ExecutableFileDialog::ExecutablesFilter() {
    return QStringLiteral("Executables (*)");
}

QString ExecutableFileDialog::AllFilesFilter() {
    return QStringLiteral("All Files (*)");
}

std::optional<QString> ExecutableFileDialog::GetProgram(QWidget* parent, const QString& folder) {
    QFileDialog dialog(parent, QStringLiteral("Open"));
    // Qt's own dialog, since the filter works on its list of files.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({ExecutablesFilter(), AllFilesFilter()});
    auto* filter = new ExecutablesOnly(&dialog);
    dialog.setProxyModel(filter);
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, filter,
        [filter](const QString& chosen) { filter->SetActive(chosen == ExecutablesFilter()); });
    dialog.setDirectory(folder.isEmpty() ? QStringLiteral("/usr/bin") : folder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QFileInfo(dialog.selectedFiles().front()).absoluteFilePath();
}

}  // namespace tavro
