#include "editor/RichTextPage.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>

#include "editor/PageLayout.h"
#include "editor/RichTextBox.h"
#include "editor/SelectAllOnFocus.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

namespace tavro {

namespace {

// Whether the document shows nothing: no text, no picture, no line.
bool IsEmptyDocument(const Document& document) {
    if (document.paragraphs.size() > 1) {
        return false;
    }
    for (const Paragraph& paragraph : document.paragraphs) {
        for (const Run& run : paragraph.runs) {
            const auto* text = std::get_if<TextRun>(&run);
            if (text == nullptr || !text->text.empty()) {
                return false;
            }
        }
    }
    return true;
}

// A rich-text file's content, as the clipboard carries it.
FileContent ReadRichTextFile(const std::string& bytes, const std::u16string& path) {
    FileContent content;
    const RtfReadResult read = ReadRtf(bytes);
    if (!read.isRtf) {
        content.error = u"Invalid file format: " + path + u" is not a rich-text file";
    } else if (!IsEmptyDocument(read.document)) {
        content.richText = WriteRtf(read.document);
    }
    return content;
}

}  // namespace

RichTextPage::RichTextPage(ContentFileReader& files, QWidget* parent)
    : QWidget(parent),
      Label6(Named(new QLabel(QStringLiteral("Rich Text File:"), this), "Label6")),
      txtRTFFile(Named(new QLineEdit(this), "txtRTFFile")),
      cmdLoadRTF(Named(new QPushButton(QStringLiteral("..."), this), "cmdLoadRTF")),
      txtReplaceRTF(Named(new RichTextBox(this), "txtReplaceRTF")),
      cmdNewRTF(Named(new QPushButton(QStringLiteral("New RTF"), this), "cmdNewRTF")),
      cmdEditRTF(Named(new QPushButton(QStringLiteral("Edit RTF"), this), "cmdEditRTF")),
      cmdPasteRTF(Named(new QPushButton(QStringLiteral("Paste"), this), "cmdPasteRTF")),
      cmdAlternateTextRTF(
          Named(new QPushButton(QStringLiteral("Alternate"), this), "cmdAlternateTextRTF")),
      cmdReloadRTF(Named(new QPushButton(QStringLiteral("Refresh"), this), "cmdReloadRTF")),
      preview_(*this, files, ReadRichTextFile,
               [this](const FileContent& content, const std::u16string& path) {
                   DrawPreview(content, path);
               }) {
    SelectAllOnFocus(*txtRTFFile);
    txtReplaceRTF->SetLocked(true);
    txtReplaceRTF->setTabChangesFocus(true);
    cmdEditRTF->setEnabled(false);
    cmdReloadRTF->hide();
    txtRTFFile->setToolTip(QStringLiteral("The rich-text file whose content replaces the trigger"));
    cmdLoadRTF->setToolTip(QStringLiteral("Choose a rich-text file"));
    cmdNewRTF->setToolTip(
        QStringLiteral("Make an empty rich-text file and open it in your word processor"));
    cmdEditRTF->setToolTip(QStringLiteral("Open the file in your word processor"));
    cmdPasteRTF->setToolTip(
        QStringLiteral("Save what you copied (formatted text, a picture or text) as a new "
                       "rich-text file"));
    cmdAlternateTextRTF->setToolTip(
        QStringLiteral("The plain text that applications on the Text Only list receive"));
    cmdReloadRTF->setToolTip(QStringLiteral("Show the file again after you saved it"));
    SetBrowseButtonWidth(*cmdLoadRTF);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Label6, 0, 0);
    layout->addWidget(txtRTFFile, 1, 0);
    layout->addWidget(cmdLoadRTF, 1, 1);
    layout->addWidget(txtReplaceRTF, 2, 0, 1, 2);
    layout->addLayout(
        ButtonColumn({cmdNewRTF, cmdEditRTF}, {cmdPasteRTF, cmdAlternateTextRTF, cmdReloadRTF}), 1,
        2, 2, 1);
    layout->setRowStretch(2, 1);
    layout->setColumnStretch(0, 1);
}

std::optional<std::u16string> RichTextPage::ShowContentFile(const std::u16string& path) {
    return preview_.Show(path);
}

bool RichTextPage::HasReplaceRTF() {
    const std::shared_ptr<const FileContent> content = preview_.Content();
    return content && !content->richText.empty();
}

std::string RichTextPage::ReplaceRTF() {
    const std::shared_ptr<const FileContent> content = preview_.Content();
    return content ? content->richText : std::string();
}

void RichTextPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    preview_.PageShown();
}

// The preview says why it is empty.
void RichTextPage::DrawPreview(const FileContent& content, const std::u16string& path) {
    if (content.richText.empty() || !txtReplaceRTF->SetTextRTF(content.richText)) {
        txtReplaceRTF->SetText(QString());
    }
    txtReplaceRTF->setPlaceholderText(
        path.empty() ? QStringLiteral("No rich-text file yet. Choose one with \"...\", or make "
                                      "one with New RTF or Paste.")
        : content.error.empty()
            ? QStringLiteral("The file is empty. Write in it with Edit RTF.")
            : QStringLiteral("This file holds no rich text that Tavro can read."));
}

void RichTextPage::SetEditEnabled(bool enabled) {
    cmdEditRTF->setEnabled(enabled);
}

void RichTextPage::SetRefreshVisible(bool visible) {
    cmdReloadRTF->setVisible(visible);
}

// The preview takes no typing or pasting from the user; it is unlocked only
// for this paste.
std::string RichTextPage::PastePreview() {
    txtReplaceRTF->SetText(QString());
    txtReplaceRTF->setPlaceholderText(QStringLiteral("The clipboard holds nothing to paste."));
    preview_.ShowOther();
    txtReplaceRTF->SetLocked(false);
    txtReplaceRTF->paste();
    txtReplaceRTF->SetLocked(true);
    txtReplaceRTF->moveCursor(QTextCursor::Start);
    return txtReplaceRTF->TextRTF();
}

}  // namespace tavro
