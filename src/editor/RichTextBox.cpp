#include "editor/RichTextBox.h"

#include <QMimeData>
#include <QSaveFile>
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

std::optional<QString> RichTextBox::SaveFile(const QString& path) {
    const std::string rtf = TextRTF();
    QSaveFile file(path);
    file.setDirectWriteFallback(true);  // a folder we may not add files to
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(rtf.data(), static_cast<qint64>(rtf.size())) !=
            static_cast<qint64>(rtf.size()) ||
        !file.commit()) {
        return QStringLiteral("Cannot save %1: %2").arg(path, file.errorString());
    }
    return std::nullopt;
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

// A text position counts each line end as two characters; a document
// position counts a block end or a line separator as one.
int RichTextBox::ToTextPosition(int documentPosition) const {
    int text = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const QString blockText = block.text();
        const int within = documentPosition - block.position();
        if (within <= blockText.size()) {
            return text + within + static_cast<int>(blockText.left(within).count(kLineSeparator));
        }
        text += static_cast<int>(blockText.size() + blockText.count(kLineSeparator)) + 2;
    }
    return std::max(0, text - 2);
}

// A text position between the CR and the LF of a line end lies before the
// line end when it starts a selection and after it when it ends one.
int RichTextBox::ToDocumentPosition(int textPosition, bool selectionEnd) const {
    int text = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const QString blockText = block.text();
        const int blockLength =
            static_cast<int>(blockText.size() + blockText.count(kLineSeparator));
        if (textPosition <= text + blockLength) {
            int remaining = textPosition - text;
            int i = 0;
            for (; i < blockText.size() && remaining > 0; ++i) {
                if (blockText[i] != kLineSeparator) {
                    --remaining;
                } else if (remaining == 1) {
                    return block.position() + i + (selectionEnd ? 1 : 0);
                } else {
                    remaining -= 2;
                }
            }
            return block.position() + i;
        }
        const int blockEnd = block.position() + static_cast<int>(blockText.size());
        if (!block.next().isValid()) {
            return blockEnd;
        }
        if (textPosition == text + blockLength + 1) {
            return blockEnd + (selectionEnd ? 1 : 0);
        }
        text += blockLength + 2;
    }
    return 0;
}

int RichTextBox::SelStart() const {
    return ToTextPosition(textCursor().selectionStart());
}

void RichTextBox::SetSelStart(int start) {
    QTextCursor cursor = textCursor();
    cursor.setPosition(ToDocumentPosition(std::max(0, start), false));
    setTextCursor(cursor);
}

int RichTextBox::SelLength() const {
    return ToTextPosition(textCursor().selectionEnd()) - SelStart();
}

void RichTextBox::SetSelLength(int length) {
    QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    const int end = ToDocumentPosition(ToTextPosition(start) + std::max(0, length), true);
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

QTextCharFormat RichTextBox::SelectionFormat() const {
    const QTextCursor selection = textCursor();
    if (!selection.hasSelection()) {
        return selection.charFormat();
    }
    QTextCursor first(document());
    first.setPosition(selection.selectionStart() + 1);  // the format of the character before
    return first.charFormat();
}

void RichTextBox::MergeSelectionFormat(const QTextCharFormat& format) {
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection()) {
        cursor.mergeCharFormat(format);
    } else {
        mergeCurrentCharFormat(format);
    }
}

QString RichTextBox::SelFontName() const {
    const QStringList families = SelectionFormat().fontFamilies().toStringList();
    return families.isEmpty() ? document()->defaultFont().family() : families.front();
}

void RichTextBox::SetSelFontName(const QString& family) {
    QTextCharFormat format;
    format.setFontFamilies({family});
    MergeSelectionFormat(format);
}

double RichTextBox::SelFontSize() const {
    const QTextCharFormat format = SelectionFormat();
    return format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize()
                                                          : document()->defaultFont().pointSizeF();
}

void RichTextBox::SetSelFontSize(double points) {
    QTextCharFormat format;
    format.setFontPointSize(points);
    MergeSelectionFormat(format);
}

bool RichTextBox::SelBold() const {
    return SelectionFormat().fontWeight() >= QFont::DemiBold;
}

void RichTextBox::SetSelBold(bool bold) {
    QTextCharFormat format;
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    MergeSelectionFormat(format);
}

bool RichTextBox::SelItalic() const {
    return SelectionFormat().fontItalic();
}

void RichTextBox::SetSelItalic(bool italic) {
    QTextCharFormat format;
    format.setFontItalic(italic);
    MergeSelectionFormat(format);
}

bool RichTextBox::SelUnderline() const {
    return SelectionFormat().fontUnderline();
}

void RichTextBox::SetSelUnderline(bool underline) {
    QTextCharFormat format;
    format.setFontUnderline(underline);
    MergeSelectionFormat(format);
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
