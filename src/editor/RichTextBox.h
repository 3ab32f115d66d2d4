#pragma once

#include <optional>
#include <string>

#include <QString>
#include <QTextEdit>

#include "editor/DocumentPictures.h"

namespace tavro {

// The rich-text control of the editor: a QTextEdit that shows, copies and
// pastes rich text as RTF through Tavro's own reader and writer.
class RichTextBox : public QTextEdit {
  public:
    explicit RichTextBox(QWidget* parent = nullptr);

    // The content as RTF markup, as the clipboard carries it.
    std::string TextRTF() const;
    // Replaces the content by RTF markup; false (and nothing changed) when
    // the markup is no RTF.
    bool SetTextRTF(const std::string& rtf);

    // The plain text, with CR LF line ends.
    QString Text() const;
    // Replaces the content by plain text; "" empties the control.
    void SetText(const QString& text);

    // A locked control takes no typing and no pasting from the user.
    void SetLocked(bool locked) { setReadOnly(locked); }

  protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

  private:
    void ReplaceContent(const Document& document);

    DocumentPictures pictures_;
};

}  // namespace tavro
