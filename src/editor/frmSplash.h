#pragma once

#include <filesystem>

#include <QDialog>
#include <QTimer>

class QPushButton;

namespace tavro {

// The window that greets the user at start-up and doubles as the About
// window: the program's name and version, where it keeps the triggers, and a
// Close button. It stays above all other windows.
class frmSplash final : public QDialog {
  public:
    static constexpr int kSplashMilliseconds = 5000;

    explicit frmSplash(const std::filesystem::path& programFolder);

    // At start-up: closes itself after five seconds or by Close, and takes
    // the focus from nobody, so typing goes on where it was.
    void ShowSplash();
    // Help > About: stays until the user closes it.
    void ShowAbout();

    QPushButton* const cmdClose;
    QTimer Timer1;

  private:
    void ShowOnTop(bool activate);
};

}  // namespace tavro
