#include <QClipboard>
#include <QCoreApplication>
#include <QMimeData>
#include <QSocketNotifier>

#include <gtest/gtest.h>

#include "app/DesktopClipboard.h"
#include "editor/TestApplication.h"

namespace tavro {
namespace {

// The clipboard of the offscreen platform, with the changes it goes
// through counted.
class DesktopClipboardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QApplication::clipboard()->setText(QStringLiteral("before"));
        QObject::connect(QApplication::clipboard(), &QClipboard::dataChanged, &counter_,
                         [this] { ++changes_; });
    }

    static QString Text() { return QApplication::clipboard()->text(); }

    QApplication& application_ = test::TestApplication();
    // Not waited on: nothing here awaits a paste.
    QSocketNotifier keyEvents_{0, QSocketNotifier::Read};
    DesktopClipboard clipboard_{[] { return QImage(); }, [] { return WindowHandle{0}; },
                                keyEvents_};
    QObject counter_;
    int changes_ = 0;
};

// Filled right after it is emptied, the clipboard changes once: it never
// holds nothing for a clipboard manager to act on.
TEST_F(DesktopClipboardTest, EmptiedAndFilledItChangesOnceToTheNewContent) {
    clipboard_.Clear();
    clipboard_.SetText(u"new text");
    QCoreApplication::processEvents();
    EXPECT_EQ(Text(), QStringLiteral("new text"));
    EXPECT_EQ(changes_, 1);
}

TEST_F(DesktopClipboardTest, EmptiedAloneItHoldsNothingOnceTheEventLoopRuns) {
    clipboard_.Clear();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Text().isEmpty());
    EXPECT_EQ(changes_, 1);
}

}  // namespace
}  // namespace tavro
