#include "editor/RichTextMimeData.h"

#include "editor/RichTextMimeTypes.h"
#include "richtext/DocumentText.h"
#include "richtext/HtmlWriter.h"
#include "richtext/RtfReader.h"

namespace tavro {

namespace {

const QString kHtmlType = QStringLiteral("text/html");
const QString kTextType = QStringLiteral("text/plain");

}  // namespace

void RichTextMimeData::SetRichText(const std::string& rtf) {
    const QByteArray markup = QByteArray::fromStdString(rtf);
    for (const char* type : kRichTextMimeTypes) {
        setData(QString::fromLatin1(type), markup);
    }
    rtf_ = IsRtf(rtf) ? rtf : std::string();
    made_ = false;
}

QStringList RichTextMimeData::formats() const {
    QStringList types = QMimeData::formats();
    if (!rtf_.empty()) {
        types << kHtmlType << kTextType;
    }
    return types;
}

QVariant RichTextMimeData::retrieveData(const QString& mimeType, QMetaType type) const {
    if (!rtf_.empty() && (mimeType == kHtmlType || mimeType == kTextType)) {
        MakeAlternatives();
        return mimeType == kHtmlType ? QVariant(html_) : QVariant(text_);
    }
    return QMimeData::retrieveData(mimeType, type);
}

void RichTextMimeData::MakeAlternatives() const {
    if (made_) {
        return;
    }
    const Document document = ReadRtf(rtf_).document;
    html_ = QByteArray::fromStdString(WriteHtml(document));
    text_ = QString::fromStdU16String(PlainText(document));
    made_ = true;
}

}  // namespace tavro
