#pragma once

#include <optional>
#include <string>

#include <QWidget>

#include "editing/ContentPageControls.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tavro {

class RichTextBox;

// Page 1: the rich-text file of an "RTF" trigger and its read-only preview,
// whose content firing pastes.
class RichTextPage final : public QWidget, public RichTextPageControls {
  public:
    explicit RichTextPage(QWidget* parent = nullptr);

    // Whether the preview holds content read from a file: something to paste.
    bool HasReplaceRTF() const { return loaded_; }

    // RichTextPageControls
    std::optional<std::u16string> ShowContentFile(const std::u16string& path) override;
    void SetEditEnabled(bool enabled) override;
    void SetRefreshVisible(bool visible) override;
    std::string PastePreview() override;

    QLabel* const Label6;
    QLineEdit* const txtRTFFile;
    QPushButton* const cmdLoadRTF;
    RichTextBox* const txtReplaceRTF;
    QPushButton* const cmdNewRTF;
    QPushButton* const cmdEditRTF;
    QPushButton* const cmdPasteRTF;
    QPushButton* const cmdAlternateTextRTF;
    QPushButton* const cmdReloadRTF;

  private:
    bool loaded_ = false;
};

}  // namespace tavro
