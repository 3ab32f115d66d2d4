#pragma once

#include <functional>
#include <optional>

#include <QLineEdit>
#include <QWidget>

class QLabel;
class QPushButton;

namespace tavro {

// The command line box txtCommandLine: a drop of files or text replaces its
// whole text (the first file's path, or the text) and counts as the user's
// edit; a drop of a file that does not exist changes nothing.
class CommandLineBox final : public QLineEdit {
  public:
    explicit CommandLineBox(QWidget* parent = nullptr);

    // Called after a drop changed the text.
    std::function<void()> onDropped;

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

// Page 3: the command line of a "Launch" trigger.
class LaunchPage final : public QWidget {
  public:
    explicit LaunchPage(QWidget* parent = nullptr);

    // The browse dialog: an executable file, or any file; none when the user
    // cancels.
    std::optional<QString> BrowseForProgram();

    QLabel* const Label8;
    CommandLineBox* const txtCommandLine;
    QPushButton* const cmdCommandLine;
};

}  // namespace tavro
