#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace tavro {

// Page 6: how to fill in a new trigger, and the way back out of it.
class NewTriggerPage final : public QWidget {
  public:
    explicit NewTriggerPage(QWidget* parent = nullptr);

    QLabel* const Label11;
    QPushButton* const cmdCancelNewTrigger;
};

}  // namespace tavro
