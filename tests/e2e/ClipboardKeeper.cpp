// clipboard-keeper: behaves like a clipboard manager for the tests: it copies
// every new clipboard content (all its types) as soon as the owner changes.

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QClipboard* clipboard = QApplication::clipboard();
    QObject::connect(clipboard, &QClipboard::dataChanged, [clipboard] {
        const QMimeData* content = clipboard->mimeData();
        if (content == nullptr) {
            return;
        }
        for (const QString& type : content->formats()) {
            content->data(type);
        }
    });
    return QApplication::exec();
}
