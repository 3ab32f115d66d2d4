#include <gtest/gtest.h>

#include <memory>

#include "platform/fake/CallLog.h"
#include "platform/fake/FakeWindows.h"
#include "support/MousepadTest.h"
#include "support/X11Engine.h"
#include "text/Utf8.h"
#include "window/WindowOperations.h"

namespace tavro::x11::test {
namespace {

constexpr int kCapsLock = 20;

// Two mousepad windows on one desktop, and the window operations over the
// X11 window system.
class WindowOperationsTest : public MousepadTest {
  protected:
    static void SetUpTestSuite() {
        MousepadTest::SetUpTestSuite();
        first_ = editor_;
        second_ = desktop_->OpenMousepadWindow();
    }

    // The caption as GetForegroundCaption gives it: with its NUL.
    static std::u16string CaptionOf(WindowId window) {
        return FromUtf8(desktop_->WindowName(window)) + u'\0';
    }

    bool Follows(WindowId window) {
        return ports_.RunUntil([&] {
            return ports_.windows.GetForegroundWindow() == window &&
                   operations_.GetForegroundCaption() == CaptionOf(window);
        });
    }

    static inline WindowId first_ = 0;
    static inline WindowId second_ = 0;
    X11Ports ports_{desktop_->DisplayName()};
    fake::CallLog log_;
    fake::FakeWindows program_{log_};
    WindowOperations operations_{ports_.windows, ports_.shell, program_};
};

TEST_F(WindowOperationsTest, TheForegroundWindowAndCaptionFollowTheFocusAndTheTitle) {
    desktop_->Xdotool({"windowactivate", "--sync", std::to_string(first_)});
    EXPECT_TRUE(Follows(first_));
    desktop_->Xdotool({"windowactivate", "--sync", std::to_string(second_)});
    ASSERT_TRUE(Follows(second_));
    EXPECT_NE(CaptionOf(first_), CaptionOf(second_));
    // Mousepad marks a changed document in its title.
    desktop_->Xdotool({"key", "x"});
    EXPECT_TRUE(
        ports_.RunUntil([&] { return operations_.GetForegroundCaption().starts_with(u"*"); }));
    EXPECT_EQ(operations_.GetForegroundCaption(), CaptionOf(second_));
    desktop_->ClearEditor();
}

// ActivateWindow brings back a window that lost the focus, and restores a
// minimised one. The focus moves first; the window manager marks the window
// in front a moment later, perhaps before it has it restored.
TEST_F(WindowOperationsTest, ActivateWindowBringsBackAWindowThatLostTheFocusOrWasMinimised) {
    desktop_->Xdotool({"windowactivate", "--sync", std::to_string(second_)});
    ASSERT_TRUE(Follows(second_));
    EXPECT_TRUE(operations_.ActivateWindow(static_cast<WindowHandle>(first_)));
    EXPECT_EQ(ports_.windows.GetForegroundWindow(), first_);
    EXPECT_TRUE(ports_.RunUntil([&] { return desktop_->ActiveWindow() == first_; }));

    desktop_->Xdotool({"windowminimize", "--sync", std::to_string(first_)});
    ASSERT_TRUE(ports_.RunUntil([&] { return ports_.windows.IsIconic(first_); }));
    EXPECT_TRUE(operations_.ActivateWindow(static_cast<WindowHandle>(first_)));
    EXPECT_TRUE(ports_.RunUntil([&] { return !ports_.windows.IsIconic(first_); }));
    EXPECT_EQ(desktop_->ActiveWindow(), first_);
}

// The process of the window in front is kept, and follows a change of it.
TEST_F(WindowOperationsTest, AWindowsThreadIsItsProcessAndFollowsItsChange) {
    const auto pid = static_cast<ThreadId>(desktop_->MousepadPid());
    desktop_->Xdotool({"windowactivate", "--sync", std::to_string(second_)});
    ASSERT_TRUE(Follows(second_));
    EXPECT_EQ(ports_.windows.GetWindowThreadProcessId(first_), pid);
    EXPECT_EQ(ports_.windows.GetWindowThreadProcessId(second_), pid);
    const auto setPid = [&](ThreadId value) {
        desktop_->Run({"xprop", "-id", std::to_string(second_), "-f", "_NET_WM_PID", "32c", "-set",
                       "_NET_WM_PID", std::to_string(value)});
    };
    setPid(pid + 1);
    EXPECT_TRUE(ports_.RunUntil(
        [&] { return ports_.windows.GetWindowThreadProcessId(second_) == pid + 1; }));
    setPid(pid);
    EXPECT_TRUE(
        ports_.RunUntil([&] { return ports_.windows.GetWindowThreadProcessId(second_) == pid; }));
}

TEST_F(WindowOperationsTest, KeyStateOnFollowsCapsLock) {
    const auto capsLock = [&] { return operations_.KeyStateOn(kCapsLock); };
    const auto held = [&] { return (ports_.windows.GetKeyState(kCapsLock) & 0x8000) != 0; };
    EXPECT_FALSE(capsLock());
    desktop_->Xdotool({"key", "Caps_Lock"});
    EXPECT_TRUE(WaitUntil(capsLock));
    // Pressed again it unlocks on release: on while held.
    desktop_->Xdotool({"keydown", "Caps_Lock"});
    EXPECT_TRUE(WaitUntil(held));
    EXPECT_TRUE(capsLock());
    desktop_->Xdotool({"keyup", "Caps_Lock"});
    EXPECT_TRUE(WaitUntil([&] { return !capsLock(); }));
}

}  // namespace
}  // namespace tavro::x11::test
