#include "window/WindowOperations.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/fake/FakePlatform.h"

namespace tavro {
namespace {

using ::testing::ElementsAreArray;

// Windows refuses the foreground to a program that is not in front: the
// retry joins the input of the window in front and leaves it again, and a
// minimised window is restored. The X server's part is the x11 tests'.
TEST(WindowOperationsTest, ARefusedActivationIsRetriedWithTheInputThreadsJoinedOnlyForIt) {
    constexpr WindowHandle kEditor = 200;
    constexpr WindowHandle kOther = 300;
    struct Case {
        const char* name;
        int refusals;
        int otherThread;
        bool iconic;
        bool activated;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"in front at once", 0, 3, false, true, {"SetForegroundWindow(200)"}},
        {"another thread in front",
         1,
         3,
         true,
         true,
         {"SetForegroundWindow(200)", "AttachThreadInput(3,2,-1)", "SetForegroundWindow(200)",
          "AttachThreadInput(3,2,0)", "ShowWindow(200,9)"}},
        {"the same thread in front, refused twice",
         2,
         2,
         false,
         false,
         {"SetForegroundWindow(200)", "SetForegroundWindow(200)", "ShowWindow(200,5)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake::FakePlatform platform;
        platform.windows.AddWindow(kEditor, u"hello world", 2);
        platform.windows.AddWindow(kOther, u"Other", c.otherThread);
        platform.windows.SetForeground(kOther);
        platform.windows.SetIconic(kEditor, c.iconic);
        platform.windows.RefuseForeground(c.refusals);
        WindowOperations operations{platform.windows, platform.windows, platform.windows};

        EXPECT_EQ(operations.ActivateWindow(kEditor), c.activated);
        EXPECT_THAT(platform.log.CallsStartingWith(
                        {"SetForegroundWindow", "AttachThreadInput", "ShowWindow"}),
                    ElementsAreArray(c.calls));
    }
}

}  // namespace
}  // namespace tavro
