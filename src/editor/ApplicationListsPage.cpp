#include "editor/ApplicationListsPage.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "editor/PageLayout.h"
#include "editor/SortedListBox.h"

namespace tavro {

ApplicationListsPage::ApplicationListsPage(QWidget* parent)
    : QWidget(parent),
      Label9(Named(new QLabel(QStringLiteral("Send Key Apps"), this), "Label9")),
      lstSendKey(new SortedListBox(QStringLiteral("lstSendKey"), this)),
      cmdAddSendKey(Named(new QPushButton(QStringLiteral("Add"), this), "cmdAddSendKey")),
      cmdDeleteSendKey(Named(new QPushButton(QStringLiteral("Delete"), this), "cmdDeleteSendKey")),
      Label10(Named(new QLabel(QStringLiteral("Text Only Apps"), this), "Label10")),
      lstTextOnly(new SortedListBox(QStringLiteral("lstTextOnly"), this)),
      cmdAddTextOnly(Named(new QPushButton(QStringLiteral("Add"), this), "cmdAddTextOnly")),
      cmdDeleteTextOnly(
          Named(new QPushButton(QStringLiteral("Delete"), this), "cmdDeleteTextOnly")) {
    lstSendKey->setToolTip(
        QStringLiteral("Windows whose title contains one of these get the replacement typed as "
                       "keys (terminals, which paste with Ctrl+Shift+V)"));
    lstTextOnly->setToolTip(
        QStringLiteral("Windows whose title contains one of these get plain text only: rich-text "
                       "and image triggers send their alternate text"));

    auto* layout = new QGridLayout(this);
    layout->addWidget(Label9, 0, 0, 1, 2);
    layout->addWidget(lstSendKey, 1, 0, 1, 2);
    layout->addWidget(cmdAddSendKey, 2, 0);
    layout->addWidget(cmdDeleteSendKey, 2, 1);
    layout->addWidget(Label10, 0, 2, 1, 2);
    layout->addWidget(lstTextOnly, 1, 2, 1, 2);
    layout->addWidget(cmdAddTextOnly, 2, 2);
    layout->addWidget(cmdDeleteTextOnly, 2, 3);
    layout->setRowStretch(1, 1);
    for (int column = 0; column < 4; ++column) {
        layout->setColumnStretch(column, 1);
    }
}

}  // namespace tavro
