#include "window/WindowOperations.h"

#include <gtest/gtest.h>

#include "platform/fake/FakePlatform.h"

namespace tavro {
namespace {

// Windows refuses the foreground to a program that is not in front: the
// retry joins the input of the window in front and leaves it again, and a
// minimised window is restored. The X server's part is the x11 tests'.
TEST(WindowOperationsTest, ARefusedActivationIsRetriedWithTheInputThreadsJoinedOnlyForIt) {
    struct Case {
        int refusals;
        int threadInFront;
        bool iconic;
        bool activated;
        std::string calls;
    };
    const Case cases[] = {
        {0, 3, false, true, "SetForegroundWindow(200) "},
        {1, 3, true, true,
         "SetForegroundWindow(200) AttachThreadInput(3,2,-1) SetForegroundWindow(200) "
         "AttachThreadInput(3,2,0) ShowWindow(200,9) "},
        {2, 2, false, false,
         "SetForegroundWindow(200) SetForegroundWindow(200) ShowWindow(200,5) "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.calls);
        fake::FakePlatform platform;
        platform.windows.AddWindow(200, u"hello world", 2);
        platform.windows.AddWindow(300, u"Other", c.threadInFront);
        platform.windows.SetForeground(300);
        platform.windows.SetIconic(200, c.iconic);
        platform.windows.RefuseForeground(c.refusals);
        WindowOperations operations{platform.windows, platform.windows, platform.windows};

        EXPECT_EQ(operations.ActivateWindow(200), c.activated);
        std::string calls;
        for (const std::string& call : platform.log.CallsStartingWith(
                 {"SetForegroundWindow", "AttachThreadInput", "ShowWindow"})) {
            calls += call + " ";
        }
        EXPECT_EQ(calls, c.calls);
    }
}

}  // namespace
}  // namespace tavro
