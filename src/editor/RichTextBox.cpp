#include "editor/RichTextBox.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextImageFormat>

#include "editor/RichTextConversion.h"
#include "editor/RichTextMimeTypes.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

namespace tavro {

namespace {

constexpr QChar kLineSeparator = QChar::LineSeparator;

std::optional<Document> ReadMarkup(const QByteArray& markup) {
    RtfReadResult result = ReadRtf(std::string_view(markup.constData(), markup.size()));
    if (!result.isRtf) {
        return std::nullopt;
    }
    return std::move(result.document);
}

}  // namespace

RichTextBox::RichTextBox(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(true);
}

std::string RichTextBox::TextRTF() const {
    return WriteRtf(
        RichDocumentFromRange(*document(), 0, document()->characterCount() - 1, pictures_));
}

bool RichTextBox::SetTextRTF(const std::string& rtf) {
    const std::optional<Document> document =
        ReadMarkup(QByteArray::fromRawData(rtf.data(), static_cast<qsizetype>(rtf.size())));
    if (!document) {
        return false;
    }
    ReplaceContent(*document);
    return true;
}

void RichTextBox::ReplaceContent(const Document& content) {
    clear();
    pictures_.Clear();
    QTextCursor cursor(document());
    InsertRichDocument(cursor, content, pictures_, true);
    setTextCursor(QTextCursor(document()));
}

QString RichTextBox::Text() const {
    QString text;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block != document()->begin()) {
            text += QStringLiteral("\r\n");
        }
        text += block.text().replace(kLineSeparator, QStringLiteral("\r\n"));
    }
    return text;
}

void RichTextBox::SetText(const QString& text) {
    pictures_.Clear();
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
    setPlainText(lines);
}

bool RichTextBox::canInsertFromMimeData(const QMimeData* source) const {
    for (const char* type : kRichTextMimeTypes) {
        if (source->hasFormat(QString::fromLatin1(type))) {
            return true;
        }
    }
    return source->hasImage() || QTextEdit::canInsertFromMimeData(source);
}

// Pastes rich text first, then a bitmap, then whatever QTextEdit takes
// (HTML, plain text).
void RichTextBox::insertFromMimeData(const QMimeData* source) {
    if (isReadOnly()) {
        return;
    }
    QTextCursor cursor = textCursor();
    for (const char* type : kRichTextMimeTypes) {
        const QString mimeType = QString::fromLatin1(type);
        if (!source->hasFormat(mimeType)) {
            continue;
        }
        if (const std::optional<Document> pasted = ReadMarkup(source->data(mimeType))) {
            cursor.beginEditBlock();
            cursor.removeSelectedText();
            InsertRichDocument(cursor, *pasted, pictures_, false);
            cursor.endEditBlock();
            setTextCursor(cursor);
            ensureCursorVisible();
            return;
        }
    }
    if (source->hasImage()) {
        const QImage image = qvariant_cast<QImage>(source->imageData());
        if (!image.isNull()) {
            QTextImageFormat picture;
            picture.setName(pictures_.Add(*document(), image));
            cursor.insertImage(picture);
            setTextCursor(cursor);
            ensureCursorVisible();
            return;
        }
    }
    QTextEdit::insertFromMimeData(source);
}

// Offers the selection as RTF, HTML and plain text.
QMimeData* RichTextBox::createMimeDataFromSelection() const {
    const QTextCursor selection = textCursor();
    const QTextDocumentFragment fragment(selection);
    auto* data = new QMimeData;
    data->setText(fragment.toPlainText());
    data->setHtml(fragment.toHtml());
    const std::string rtf = WriteRtf(RichDocumentFromRange(*document(), selection.selectionStart(),
                                                           selection.selectionEnd(), pictures_));
    const QByteArray markup = QByteArray::fromStdString(rtf);
    for (const char* type : kRichTextMimeTypes) {
        data->setData(QString::fromLatin1(type), markup);
    }
    return data;
}

}  // namespace tavro
