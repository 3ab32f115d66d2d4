#include "app/InputBoxDialog.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tavro {

namespace {

constexpr int kPromptWidth = 420;

}  // namespace

std::u16string InputBoxDialog::AskText(const std::u16string& prompt, const std::u16string& title) {
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(QString::fromStdU16String(title));
    auto* text = new QLabel(QString::fromStdU16String(prompt), &dialog);
    text->setWordWrap(true);
    text->setTextFormat(Qt::PlainText);
    text->setMinimumWidth(kPromptWidth);
    auto* answer = new QLineEdit(&dialog);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(text);
    layout->addWidget(answer);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return answer->text().toStdU16String();
}

}  // namespace tavro
