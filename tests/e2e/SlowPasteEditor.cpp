// slow-paste-editor: a plain-text editor for the tests, titled "Slow Paste",
// that is busy for 0.4 s before it fetches a paste, as a slow application
// is; keys typed meanwhile wait. It writes the name of every key it handles
// to standard output, one a line.

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QThread>

#include <iostream>

namespace {

constexpr unsigned long kBusyMilliseconds = 400;

class SlowPasteEditor final : public QPlainTextEdit {
  protected:
    void keyPressEvent(QKeyEvent* event) override {
        std::cout << QKeySequence(event->keyCombination()).toString().toStdString() << std::endl;
        if (event->matches(QKeySequence::Paste)) {
            QThread::msleep(kBusyMilliseconds);
        }
        QPlainTextEdit::keyPressEvent(event);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    SlowPasteEditor editor;
    editor.setWindowTitle("Slow Paste");
    editor.resize(400, 300);
    editor.show();
    return QApplication::exec();
}
