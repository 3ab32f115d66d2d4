#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace tavro {

class SortedListBox;

// Page 5: the two lists of window-title fragments. Windows whose title
// contains a Send Key fragment get replacements typed as keys; those whose
// title contains a Text Only fragment get plain text.
class ApplicationListsPage final : public QWidget {
  public:
    explicit ApplicationListsPage(QWidget* parent = nullptr);

    QLabel* const Label9;
    SortedListBox* const lstSendKey;
    QPushButton* const cmdAddSendKey;
    QPushButton* const cmdDeleteSendKey;
    QLabel* const Label10;
    SortedListBox* const lstTextOnly;
    QPushButton* const cmdAddTextOnly;
    QPushButton* const cmdDeleteTextOnly;
};

}  // namespace tavro
