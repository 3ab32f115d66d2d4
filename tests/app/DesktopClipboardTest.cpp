#include <QClipboard>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <gtest/gtest.h>

#include "app/DesktopClipboard.h"
#include "editor/TestApplication.h"

namespace tavro {
namespace {

// Emptied and filled right away, the clipboard changes once: it never holds
// nothing for a clipboard manager to act on. Emptied alone, it is empty once
// the event loop runs.
TEST(DesktopClipboardTest, EmptiedItChangesOnceToWhatComesNext) {
    test::TestApplication();
    QClipboard& system = *QApplication::clipboard();
    // Not waited on: nothing here awaits a paste.
    QSocketNotifier keyEvents{0, QSocketNotifier::Read};
    DesktopClipboard clipboard{[] { return QImage(); }, [] { return WindowHandle{0}; }, keyEvents};
    system.setText(QStringLiteral("before"));
    int changes = 0;
    QObject counter;
    QObject::connect(&system, &QClipboard::dataChanged, &counter, [&] { ++changes; });

    clipboard.Clear();
    clipboard.SetText(u"new text");
    QCoreApplication::processEvents();
    EXPECT_EQ(system.text(), QStringLiteral("new text"));
    EXPECT_EQ(changes, 1);

    clipboard.Clear();
    QCoreApplication::processEvents();
    EXPECT_TRUE(system.text().isEmpty());
    EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace tavro
