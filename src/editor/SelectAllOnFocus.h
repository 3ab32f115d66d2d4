#pragma once

class QLineEdit;

namespace tavro {

// Makes the line edit select its whole text whenever it gets the focus
// other than by a mouse click, which places the caret where it was clicked.
void SelectAllOnFocus(QLineEdit& edit);

}  // namespace tavro
