#include "editor/TextPage.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextCursor>

#include "editor/PageLayout.h"

namespace tavro {

namespace {

QString DesktopLines(const std::u16string& text) {
    QString lines = QString::fromStdU16String(text);
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return lines;
}

}  // namespace

TextPage::TextPage(QWidget* parent)
    : QWidget(parent),
      Label5(Named(new QLabel(QStringLiteral("Replace Text"), this), "Label5")),
      txtReplaceText(Named(new QPlainTextEdit(this), "txtReplaceText")),
      cmdInsertDate(Named(new QPushButton(QStringLiteral("Insert Date"), this), "cmdInsertDate")),
      cmdInsertTime(Named(new QPushButton(QStringLiteral("Insert Time"), this), "cmdInsertTime")),
      cmdPasteText(Named(new QPushButton(QStringLiteral("Paste"), this), "cmdPasteText")),
      cmdBack(Named(new QPushButton(QStringLiteral("Back"), this), "cmdBack")) {
    txtReplaceText->setTabChangesFocus(true);
    txtReplaceText->setToolTip(
        QStringLiteral("The text that replaces the typed trigger. %date% and %time% are replaced "
                       "by the date and time when the trigger fires."));
    cmdBack->hide();

    auto* layout = new QGridLayout(this);
    layout->addWidget(Label5, 0, 0, 1, 2);
    layout->addWidget(txtReplaceText, 1, 0, 1, 2);
    layout->addLayout(ButtonColumn({}, {cmdPasteText, cmdBack}), 1, 2);
    layout->addWidget(cmdInsertDate, 2, 0);
    layout->addWidget(cmdInsertTime, 2, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(1, 1);
}

void TextPage::SetReplaceText(const std::u16string& text) {
    const QString lines = DesktopLines(text);
    if (txtReplaceText->toPlainText() != lines) {
        const QSignalBlocker quiet(txtReplaceText);
        txtReplaceText->setPlainText(lines);
    }
}

std::u16string TextPage::ReplaceText() const {
    QString text = txtReplaceText->toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text.toStdU16String();
}

void TextPage::InsertAtCaret(const QString& text) {
    QTextCursor caret = txtReplaceText->textCursor();
    caret.setPosition(caret.selectionStart());
    caret.insertText(text);
    txtReplaceText->setTextCursor(caret);
    txtReplaceText->setFocus(Qt::OtherFocusReason);
}

void TextPage::PasteClipboardText() {
    txtReplaceText->setPlainText(
        DesktopLines(QGuiApplication::clipboard()->text().toStdU16String()));
    txtReplaceText->moveCursor(QTextCursor::End);
    txtReplaceText->setFocus(Qt::OtherFocusReason);
}

}  // namespace tavro
