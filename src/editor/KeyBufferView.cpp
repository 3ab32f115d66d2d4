#include "editor/KeyBufferView.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "editor/PageLayout.h"

namespace tavro {

namespace {

// Keys that type no character are recorded as the character 0: shown as a
// visible mark rather than as nothing.
QString Visible(const std::u16string& text) {
    QString shown = QString::fromStdU16String(text);
    shown.replace(QChar(0), QChar(0x2400));
    return shown;
}

void ShowOnly(QCheckBox& box) {
    box.setAttribute(Qt::WA_TransparentForMouseEvents);
    box.setFocusPolicy(Qt::NoFocus);
}

}  // namespace

KeyBufferView::KeyBufferView(QWidget* parent)
    : QWidget(parent),
      Label12(Named(new QLabel(QStringLiteral("Current KeyBuffer:"), this), "Label12")),
      txtBuffer(Named(new QLineEdit(this), "txtBuffer")),
      Label13(Named(new QLabel(QStringLiteral("Detail:"), this), "Label13")),
      txtDiary(Named(new QPlainTextEdit(this), "txtDiary")),
      chkShift(Named(new QCheckBox(QStringLiteral("Shift"), this), "chkShift")),
      chkCtrl(Named(new QCheckBox(QStringLiteral("ctrl"), this), "chkCtrl")),
      chkAlt(Named(new QCheckBox(QStringLiteral("alt"), this), "chkAlt")),
      chkCapsLock(Named(new QCheckBox(QStringLiteral("CapsLock"), this), "chkCapsLock")) {
    txtBuffer->setReadOnly(true);
    txtBuffer->setToolTip(
        QStringLiteral("The last keys typed, which triggers are matched against"));
    txtDiary->setReadOnly(true);
    txtDiary->setTabChangesFocus(true);
    txtDiary->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtDiary->setWordWrapMode(QTextOption::WrapAnywhere);
    txtDiary->setToolTip(QStringLiteral("The last 500 characters of keys typed"));
    for (QCheckBox* box : {chkShift, chkCtrl, chkAlt, chkCapsLock}) {
        ShowOnly(*box);
    }

    auto* modifiers = new QHBoxLayout;
    for (QCheckBox* box : {chkShift, chkCtrl, chkAlt, chkCapsLock}) {
        modifiers->addWidget(box);
    }
    modifiers->addStretch(1);
    auto* layout = new QGridLayout(this);
    layout->addWidget(Label12, 0, 0);
    layout->addWidget(txtBuffer, 1, 0);
    layout->addWidget(Label13, 2, 0);
    layout->addWidget(txtDiary, 3, 0);
    layout->addLayout(modifiers, 4, 0);
    layout->setRowStretch(3, 1);
}

void KeyBufferView::SetModifierChecks(bool alt, bool ctrl, bool shift, bool capsLock) {
    chkAlt->setChecked(alt);
    chkCtrl->setChecked(ctrl);
    chkShift->setChecked(shift);
    chkCapsLock->setChecked(capsLock);
}

void KeyBufferView::SetBufferTexts(const std::u16string& keyBuffer,
                                   const std::u16string& keyDiary) {
    keyBuffer_ = Visible(keyBuffer);
    keyDiary_ = Visible(keyDiary);
    if (isVisible()) {
        ShowBufferTexts();
    }
}

void KeyBufferView::showEvent(QShowEvent* event) {
    ShowBufferTexts();
    QWidget::showEvent(event);
}

void KeyBufferView::ShowBufferTexts() {
    txtBuffer->setText(keyBuffer_);
    txtBuffer->setCursorPosition(static_cast<int>(keyBuffer_.size()));
    if (txtDiary->toPlainText() != keyDiary_) {
        txtDiary->setPlainText(keyDiary_);
        txtDiary->moveCursor(QTextCursor::End);
    }
}

}  // namespace tavro
