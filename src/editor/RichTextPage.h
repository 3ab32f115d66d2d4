#pragma once

#include <optional>
#include <string>

#include <QWidget>

#include "editing/ContentPageControls.h"
#include "editor/ContentPreview.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tavro {

class ContentFileReader;
class RichTextBox;

// Page 1: the rich-text file of an "RTF" trigger and its read-only preview,
// whose content firing pastes.
class RichTextPage final : public QWidget, public RichTextPageControls {
  public:
    // The rich-text files are read through `files`.
    explicit RichTextPage(ContentFileReader& files, QWidget* parent = nullptr);

    // Whether the file shown holds rich text: something to paste (not when
    // the file is missing, unreadable, empty or no rich text).
    bool HasReplaceRTF();
    // The content of the file shown as RTF markup, as it is on disk now.
    std::string ReplaceRTF();
    ContentPreview& Preview() { return preview_; }

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

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // Draws the file's content in the preview; an empty preview says why.
    void DrawPreview(const FileContent& content, const std::u16string& path);

    ContentPreview preview_;
};

}  // namespace tavro
