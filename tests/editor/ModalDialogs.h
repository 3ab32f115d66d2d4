#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QTimer>

#include <functional>

namespace tavro::test {

// Once a modal window of the kind is up, does what a user would do in it.
template <typename Dialog>
void WhenShown(std::function<void(Dialog&)> act) {
    auto* poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(*dialog);
        }
    });
    poll->start();
}

// The names Qt's file dialog lists, sorted, once it lists `count` of them.
inline QStringList ListedFiles(QFileDialog& dialog, int count) {
    auto* view = dialog.findChild<QListView*>(QStringLiteral("listView"));
    QStringList names;
    if (QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) == count; })) {
        for (int row = 0; row < count; ++row) {
            names.push_back(view->model()->index(row, 0, view->rootIndex()).data().toString());
        }
    }
    names.sort(Qt::CaseInsensitive);
    return names;
}

// Types the name into Qt's file dialog and presses Enter there.
inline void TypeFileName(QFileDialog& dialog, const QString& name) {
    auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(box != nullptr);
    box->setText(name);
    QTest::keyClick(box, Qt::Key_Return);
}

}  // namespace tavro::test
