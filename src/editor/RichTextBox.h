#pragma once

#include <optional>
#include <string>

#include <QString>
#include <QTextEdit>

#include "editor/DocumentPictures.h"

namespace tavro {

// The rich-text control of the editor and the legend: a QTextEdit that
// loads, saves, copies and pastes rich text as RTF through Tavro's own
// reader and writer.
//
// Positions (SelStart, SelLength) count as the characters of Text() do:
// every line end counts two, for its CR and its LF.
class RichTextBox : public QTextEdit {
  public:
    explicit RichTextBox(QWidget* parent = nullptr);

    // Saves the content as an RTF file, replacing an existing one. Returns
    // the error's description when the file cannot be written.
    std::optional<QString> SaveFile(const QString& path);

    // The content as RTF markup, as the clipboard carries it.
    std::string TextRTF() const;
    // Replaces the content by RTF markup; false (and nothing changed) when
    // the markup is no RTF.
    bool SetTextRTF(const std::string& rtf);

    // The plain text, with CR LF line ends.
    QString Text() const;
    // Replaces the content by plain text; "" empties the control.
    void SetText(const QString& text);

    int SelStart() const;
    void SetSelStart(int start);  // also collapses the selection there
    int SelLength() const;
    void SetSelLength(int length);

    // Font of the selection: read from its first character, set on all of
    // it (or on what is typed next when nothing is selected).
    QString SelFontName() const;
    void SetSelFontName(const QString& family);
    double SelFontSize() const;
    void SetSelFontSize(double points);
    bool SelBold() const;
    void SetSelBold(bool bold);
    bool SelItalic() const;
    void SetSelItalic(bool italic);
    bool SelUnderline() const;
    void SetSelUnderline(bool underline);

    // A locked control takes no typing and no pasting from the user.
    bool Locked() const { return isReadOnly(); }
    void SetLocked(bool locked) { setReadOnly(locked); }

  protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

  private:
    int ToTextPosition(int documentPosition) const;
    int ToDocumentPosition(int textPosition, bool selectionEnd) const;
    QTextCharFormat SelectionFormat() const;
    void MergeSelectionFormat(const QTextCharFormat& format);
    void ReplaceContent(const Document& document);

    DocumentPictures pictures_;
};

}  // namespace tavro
