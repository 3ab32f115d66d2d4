#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "TavroProgram.h"
#include "platform/fake/CallLog.h"
#include "platform/fake/FakeWindows.h"
#include "support/Files.h"
#include "support/TestDesktop.h"
#include "support/X11Engine.h"
#include "text/Utf8.h"
#include "window/WindowOperations.h"

namespace tavro::e2e {
namespace {

using x11::test::TestDesktop;
using x11::test::WaitUntil;
using x11::test::WindowId;

// Tavro on a desktop whose window manager is missing or gone, with mousepad
// (which gets replacements pasted) and an xterm (on the SendKey list: it
// gets them typed) that writes every key it gets to a file as it comes,
// erase keys included.
class WithoutWindowManagerTest : public ::testing::Test {
  protected:
    void Open(TestDesktop::WindowManager windowManager) {
        desktop_ = std::make_unique<TestDesktop>(windowManager);
        editor_ = desktop_->OpenMousepadWindow();
        typed_ = tavro_.Folder() / "typed.txt";
        terminal_ =
            desktop_->OpenXterm("terminal", "stty -icanon; exec cat > '" + typed_.string() + "'");
    }

    void StartTavro() {
        ApplicationLists applications;
        applications.SendKeyApps = {u"terminal"};
        // Punctuation and letters: the key translation counts.
        tavro_.WriteDatabase({MakeTrigger(u";sig", u"Signature", u"Text", u"Best regards")},
                             applications);
        tavro_.Start(desktop_->ProgramEnvironment());
        ASSERT_TRUE(tavro_.WaitUntilRunning());
    }

    // Fires the trigger in the editor (pasted) and in the terminal (erased
    // and typed; the terminal sends Backspace as DEL or as BS), in order.
    void ExpectFiredInto(const std::vector<WindowId>& windows) {
        for (const WindowId window : windows) {
            desktop_->Focus(window);
            const bool editor = window == editor_;
            if (editor) {
                desktop_->ClearEditor();
            }
            desktop_->Xdotool({"type", "--delay", "30", editor ? "a ;sig" : "b ;sig"});
            const std::string expected = editor ? "a Best regards" : "b ;sig\b\b\b\bBest regards";
            std::string text;
            WaitUntil([&] {
                text = editor ? desktop_->EditorText() : test::ReadFile(typed_);
                std::replace(text.begin(), text.end(), '\x7f', '\b');
                return text == expected;
            });
            EXPECT_EQ(text, expected);
        }
    }

    std::unique_ptr<TestDesktop> desktop_;
    WindowId editor_ = 0;
    WindowId terminal_ = 0;
    std::filesystem::path typed_;
    // Goes before the desktop.
    TavroProgram tavro_;
};

// The window operations follow the focus, and bringing a window to the
// front gives it the focus; the program's triggers fire into the window with
// the focus.
TEST_F(WithoutWindowManagerTest, TriggersFireIntoTheWindowWithTheFocus) {
    Open(TestDesktop::WindowManager::Absent);
    x11::test::X11Ports ports(desktop_->DisplayName());
    fake::CallLog log;
    fake::FakeWindows program(log);
    WindowOperations operations(ports.windows, ports.shell, program);
    desktop_->Focus(editor_);
    EXPECT_EQ(ports.windows.GetForegroundWindow(), editor_);
    EXPECT_EQ(operations.GetForegroundCaption(), FromUtf8(desktop_->WindowName(editor_)) + u'\0');
    EXPECT_TRUE(operations.ActivateWindow(static_cast<WindowHandle>(terminal_)));
    EXPECT_EQ(desktop_->Run({"xdotool", "getwindowfocus"}).output,
              std::to_string(terminal_) + "\n");
    EXPECT_EQ(operations.GetForegroundCaption(), std::u16string(u"terminal") + u'\0');

    StartTavro();
    ExpectFiredInto({editor_, terminal_});
}

// With no window active, openbox gives the focus to the very window that
// tells it runs; following that window in front must not lose its end. What
// the window manager said last (the editor in front) is stale once it has
// gone: the terminal with the focus gets the replacement typed.
TEST_F(WithoutWindowManagerTest, TriggersFireIntoTheWindowWithTheFocusOnceTheWindowManagerDied) {
    Open(TestDesktop::WindowManager::Openbox);
    StartTavro();
    x11::test::X11Ports ports(desktop_->DisplayName());
    for (const WindowId window : {editor_, terminal_}) {
        desktop_->Xdotool({"windowminimize", "--sync", std::to_string(window)});
    }
    const auto inFront = [&] { return ports.windows.GetForegroundWindow(); };
    ASSERT_TRUE(ports.RunUntil([&] { return inFront() != 0 && inFront() != editor_; }));
    desktop_->Xdotool({"windowactivate", "--sync", std::to_string(editor_)});
    ASSERT_TRUE(ports.RunUntil([&] { return inFront() == editor_; }));

    desktop_->KillWindowManager();
    // The server maps the minimised terminal again once openbox is gone.
    ASSERT_TRUE(WaitUntil([&] {
        return desktop_->Run({"xdotool", "windowfocus", "--sync", std::to_string(terminal_)})
                   .exitCode == 0;
    }));
    EXPECT_TRUE(ports.RunUntil([&] { return inFront() == terminal_; }));
    ExpectFiredInto({terminal_, editor_});
}

}  // namespace
}  // namespace tavro::e2e
