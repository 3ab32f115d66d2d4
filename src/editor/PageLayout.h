#pragma once

#include <initializer_list>

#include <QString>
#include <QWidget>

class QBoxLayout;
class QPushButton;

namespace tavro {

// A control with its name, by which the window's rules know it.
template <typename Control>
Control* Named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

// The narrow "..." button beside a path box, which opens a file dialog.
void SetBrowseButtonWidth(QPushButton& button);

// The column of buttons at the right of a page: some at its top, some at its
// bottom, all of one width.
QBoxLayout* ButtonColumn(std::initializer_list<QPushButton*> top,
                         std::initializer_list<QPushButton*> bottom);

}  // namespace tavro
