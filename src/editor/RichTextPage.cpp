#include "editor/RichTextPage.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editor/PageLayout.h"
#include "editor/RichTextBox.h"
#include "editor/SelectAllOnFocus.h"

namespace tavro {

RichTextPage::RichTextPage(QWidget* parent)
    : QWidget(parent),
      Label6(Named(new QLabel(QStringLiteral("Rich Text File:"), this), "Label6")),
      txtRTFFile(Named(new QLineEdit(this), "txtRTFFile")),
      txtReplaceRTF(Named(new RichTextBox(this), "txtReplaceRTF")),
      cmdAlternateTextRTF(
          Named(new QPushButton(QStringLiteral("Alternate"), this), "cmdAlternateTextRTF")) {
    SelectAllOnFocus(*txtRTFFile);
    txtReplaceRTF->SetLocked(true);
    txtReplaceRTF->setTabChangesFocus(true);
    cmdAlternateTextRTF->setToolTip(
        QStringLiteral("The plain text that applications on the Text Only list receive"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(Label6, 0, 0);
    layout->addWidget(txtRTFFile, 1, 0);
    layout->addWidget(txtReplaceRTF, 2, 0);
    layout->addLayout(ButtonColumn({}, {cmdAlternateTextRTF}), 1, 1, 2, 1);
    layout->setRowStretch(2, 1);
    layout->setColumnStretch(0, 1);
}

void RichTextPage::LoadPreview(const std::u16string& path) {
    txtReplaceRTF->SetText(QString());
    loaded_ = !path.empty() && !txtReplaceRTF->LoadFile(QString::fromStdU16String(path));
}

}  // namespace tavro
