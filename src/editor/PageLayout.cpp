#include "editor/PageLayout.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tavro {

void SetBrowseButtonWidth(QPushButton& button) {
    button.setFixedWidth(button.sizeHint().height() * 3 / 2);
}

QBoxLayout* ButtonColumn(std::initializer_list<QPushButton*> top,
                         std::initializer_list<QPushButton*> bottom) {
    auto* column = new QVBoxLayout;
    for (QPushButton* button : top) {
        column->addWidget(button);
    }
    column->addStretch(1);
    for (QPushButton* button : bottom) {
        column->addWidget(button);
    }
    return column;
}

}  // namespace tavro
