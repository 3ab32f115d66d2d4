#include "editor/SelectAllOnFocus.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace tavro {

namespace {

class FocusSelection final : public QObject {
  public:
    explicit FocusSelection(QLineEdit& edit) : QObject(&edit) { edit.installEventFilter(this); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn &&
            static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason) {
            // After the line edit's own handling of the event, which may
            // place the caret.
            QPointer<QLineEdit> edit = static_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
        }
        return false;
    }
};

}  // namespace

void SelectAllOnFocus(QLineEdit& edit) {
    new FocusSelection(edit);
}

}  // namespace tavro
