#pragma once

#include <optional>

#include <QString>

class QWidget;

namespace tavro {

// The browse dialog of the command line: its filter "Executables" shows the
// folders and the files the user may run, "All Files" shows every file.
class ExecutableFileDialog {
  public:
    // The full path of the file picked; none when the dialog was cancelled.
    // The dialog opens in `folder` when given, else among the programs.
    static std::optional<QString> GetProgram(QWidget* parent, const QString& folder = {});

    static QString ExecutablesFilter();
    static QString AllFilesFilter();
};

}  // namespace tavro
