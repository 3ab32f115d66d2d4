#include "editor/TypeComboBox.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>

#include "editor/SelectAllOnFocus.h"

namespace tavro {

namespace {

bool ChangesText(const QKeyEvent& key) {
    for (const QKeySequence::StandardKey edit :
         {QKeySequence::Paste, QKeySequence::Cut, QKeySequence::Undo, QKeySequence::Redo,
          QKeySequence::Delete, QKeySequence::Backspace, QKeySequence::DeleteEndOfWord,
          QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfLine,
          QKeySequence::DeleteCompleteLine}) {
        if (key.matches(edit)) {
            return true;
        }
    }
    return key.key() == Qt::Key_Delete || key.key() == Qt::Key_Backspace;
}

}  // namespace

TypeComboBox::TypeComboBox(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("cboType"));
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    // The four types, and an empty line that stores an empty type.
    addItems({QStringLiteral("Text"), QStringLiteral("RTF"), QStringLiteral("Image"),
              QStringLiteral("Launch"), QString()});
    QLineEdit& edit = *lineEdit();
    edit.setAcceptDrops(false);
    edit.setContextMenuPolicy(Qt::NoContextMenu);
    edit.installEventFilter(this);
    SelectAllOnFocus(edit);
}

void TypeComboBox::SetTypeText(const QString& text) {
    const QSignalBlocker quiet(this);
    const int line = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (line >= 0) {
        setCurrentIndex(line);
    }
    setEditText(text);
}

bool TypeComboBox::TakeKey(const QKeyEvent& key) {
    const QString text = key.text();
    if (!text.isEmpty() && text.front().isPrint() &&
        (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0) {
        if (onKeyPress) {
            onKeyPress(text.front().unicode());
        }
        lineEdit()->selectAll();
        return true;
    }
    return ChangesText(key);
}

void TypeComboBox::keyPressEvent(QKeyEvent* event) {
    if (TakeKey(*event)) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void TypeComboBox::inputMethodEvent(QInputMethodEvent* event) {
    event->accept();  // composed text is swallowed like typed text
}

bool TypeComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit()) {
        switch (event->type()) {
            case QEvent::KeyPress:
                return TakeKey(static_cast<const QKeyEvent&>(*event));
            case QEvent::InputMethod:
                return true;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
                // The middle button pastes the selection.
                return static_cast<const QMouseEvent*>(event)->button() == Qt::MiddleButton;
            default:
                break;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

}  // namespace tavro
