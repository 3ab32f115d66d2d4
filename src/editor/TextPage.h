#pragma once

#include <string>

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tavro {

// Page 0: the replacement text of a "Text" trigger, or the alternate text
// of a rich-text or image trigger. The box shows line ends as the desktop
// does; the text it gives and takes has the CR LF line ends that the
// keystroke sender types as one Enter each.
class TextPage final : public QWidget {
  public:
    explicit TextPage(QWidget* parent = nullptr);

    // Shows the text; the caret stays where it was when the text is the same.
    // Raises no change.
    void SetReplaceText(const std::u16string& text);
    std::u16string ReplaceText() const;

    // Puts the text at the caret of the box, replacing nothing, and gives the
    // box the focus. The clipboard is left alone.
    void InsertAtCaret(const QString& text);
    // Replaces the whole text by the clipboard's text.
    void PasteClipboardText();

    QLabel* const Label5;
    QPlainTextEdit* const txtReplaceText;
    QPushButton* const cmdInsertDate;
    QPushButton* const cmdInsertTime;
    QPushButton* const cmdPasteText;
    QPushButton* const cmdBack;
};

}  // namespace tavro
