#include "app/MessageBoxDialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace tavro {

namespace {

QMessageBox::Icon DialogIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void MessageBoxDialogs::ShowMessage(const std::u16string& text, const std::u16string& title,
                                    MessageIcon icon) {
    QMessageBox box(DialogIcon(icon), QString::fromStdU16String(title),
                    QString::fromStdU16String(text), QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

bool MessageBoxDialogs::AskYesNo(const std::u16string& text, const std::u16string& title,
                                 std::optional<MessageIcon> icon) {
    QMessageBox box(icon ? DialogIcon(*icon) : QMessageBox::NoIcon,
                    QString::fromStdU16String(title), QString::fromStdU16String(text),
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace tavro
