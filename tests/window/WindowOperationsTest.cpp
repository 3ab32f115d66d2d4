#include "window/WindowOperations.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/fake/FakePlatform.h"

namespace tavro {
namespace {

using ::testing::ElementsAre;

constexpr WindowHandle kMain = 100;
constexpr WindowHandle kEditor = 200;
constexpr WindowHandle kOther = 300;

class WindowOperationsTest : public ::testing::Test {
  protected:
    WindowOperationsTest() {
        platform.windows.AddWindow(kMain, u"Tavro!", 1);
        platform.windows.AddWindow(kEditor, u"hello world", 2);
        platform.windows.AddWindow(kOther, u"Other", 3);
        platform.windows.SetMainWindow(kMain);
    }

    fake::FakePlatform platform;
    WindowOperations operations{platform.windows, platform.windows, platform.windows};
};

TEST_F(WindowOperationsTest, ActivatingTheWindowInFrontStopsAfterTheFirstAttempt) {
    platform.windows.SetForeground(kEditor);

    EXPECT_TRUE(operations.ActivateWindow(kEditor));

    EXPECT_THAT(platform.log.Calls(),
                ElementsAre("SetForegroundWindow(200)", "GetForegroundWindow()"));
}

TEST_F(WindowOperationsTest, ARefusedActivationJoinsTheThreadsAndRestoresAMinimisedWindow) {
    platform.windows.SetForeground(kOther);
    platform.windows.SetIconic(kEditor, true);
    platform.windows.RefuseForeground(1);

    EXPECT_TRUE(operations.ActivateWindow(kEditor));

    EXPECT_THAT(
        platform.log.Calls(),
        ElementsAre("SetForegroundWindow(200)", "GetForegroundWindow()", "GetForegroundWindow()",
                    "GetWindowThreadProcessId(300)", "GetWindowThreadProcessId(200)",
                    "AttachThreadInput(3,2,-1)", "SetForegroundWindow(200)",
                    "AttachThreadInput(3,2,0)", "IsIconic(200)", "ShowWindow(200,9)"));
}

TEST_F(WindowOperationsTest, ARefusedActivationOfTheSameThreadOnlyShowsTheWindow) {
    platform.windows.AddWindow(kOther, u"Other", 2);
    platform.windows.SetForeground(kOther);
    platform.windows.RefuseForeground(2);

    EXPECT_FALSE(operations.ActivateWindow(kEditor));

    EXPECT_THAT(
        platform.log.Calls(),
        ElementsAre("SetForegroundWindow(200)", "GetForegroundWindow()", "GetForegroundWindow()",
                    "GetWindowThreadProcessId(300)", "GetWindowThreadProcessId(200)",
                    "SetForegroundWindow(200)", "IsIconic(200)", "ShowWindow(200,5)"));
}

TEST_F(WindowOperationsTest, TheCaptionEndsWithItsTerminatingNul) {
    platform.windows.SetForeground(kEditor);
    EXPECT_EQ(operations.GetForegroundCaption(), std::u16string(u"hello world\0", 12));
    EXPECT_THAT(platform.log.Calls(),
                ElementsAre("GetForegroundWindow()", "GetWindowTextLengthA(200)",
                            "GetWindowTextA(200,12)"));

    platform.windows.SetForeground(0);
    EXPECT_EQ(operations.GetForegroundCaption(), std::u16string(1, u'\0'));
}

TEST_F(WindowOperationsTest, MakesTopmostWithoutMovingSizingOrActivating) {
    operations.MakeTopmost(kMain);
    EXPECT_THAT(platform.log.Calls(), ElementsAre("SetWindowPos(100,-1,0,0,0,0,19)"));
}

}  // namespace
}  // namespace tavro
