#pragma once

#include <string>

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tavro {

class RichTextBox;

// Page 1: the rich-text file of an "RTF" trigger and its preview, whose
// content firing pastes.
class RichTextPage final : public QWidget {
  public:
    explicit RichTextPage(QWidget* parent = nullptr);

    // Empties the preview, then loads the file into it; a file that cannot be
    // read leaves it empty.
    void LoadPreview(const std::u16string& path);
    // Whether the preview holds the content of a file.
    bool HasReplaceRTF() const { return loaded_; }

    QLabel* const Label6;
    QLineEdit* const txtRTFFile;
    RichTextBox* const txtReplaceRTF;
    QPushButton* const cmdAlternateTextRTF;

  private:
    bool loaded_ = false;
};

}  // namespace tavro
