// The main window and the tray icon of the tavro program, driven as a person
// drives them: with the mouse on the tray icon and the keyboard in the
// windows, on a desktop with a notification area and mousepad.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "EndToEndFixture.h"
#include "text/Utf8.h"

namespace tavro::e2e {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

struct Geometry {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

class MainWindowEndToEndTest : public EndToEndTest {
  protected:
    static void SetUpTestSuite() {
        EndToEndTest::SetUpTestSuite();
        // The notification area, which Qt's tray icon docks into.
        tray = std::make_unique<ChildProcess>(
            std::vector<std::string>{"trayer", "--edge", "top", "--align", "right", "--widthtype",
                                     "request", "--height", "24", "--SetDockType", "true",
                                     "--transparent", "false"},
            desktop->ProgramEnvironment());
    }
    static void TearDownTestSuite() {
        tray.reset();
        EndToEndTest::TearDownTestSuite();
    }

    void StartTavro(const std::vector<TriggerRecord>& triggers) {
        EndToEndTest::StartTavro(triggers);
        ASSERT_TRUE(WaitUntil([this] { return TrayIcon() != 0; })) << "no tray icon";
        window = TavroWindow("Tavro!");
        ASSERT_NE(window, 0U);
    }

    static std::string Run(const std::vector<std::string>& command) {
        return desktop->Run(command).output;
    }

    static Geometry GeometryOf(WindowId window) {
        const std::string info = Run({"xwininfo", "-id", std::to_string(window)});
        const auto value = [&](const std::string& name) {
            const std::size_t at = info.find(name);
            return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + name.size());
        };
        return {value("Absolute upper-left X:"), value("Absolute upper-left Y:"), value("Width:"),
                value("Height:")};
    }

    // Whether the window is in the middle of the 1280 by 800 screen.
    static bool Centred(WindowId window) {
        const Geometry shown = GeometryOf(window);
        return std::abs(shown.x + shown.width / 2 - 640) <= 40 &&
               std::abs(shown.y + shown.height / 2 - 400) <= 40;
    }

    // The program's icon, docked in the notification area.
    static WindowId TrayIcon() {
        for (const WindowId icon : desktop->Windows({"--onlyvisible", "--class", "tavro"})) {
            const Geometry size = GeometryOf(icon);
            if (desktop->WindowName(icon) == "Tavro" && size.width <= 64 && size.height <= 64) {
                return icon;
            }
        }
        return 0;
    }

    // Clicks the tray icon with the mouse button; the right button opens
    // its menu, which takes the main window out of sight while it is open.
    void ClickTrayIcon(const char* button) const {
        const auto others = [&] {
            auto shown = desktop->Windows({"--onlyvisible", "--class", "tavro"});
            std::erase(shown, window);
            return shown.size();
        };
        const std::size_t before = others();
        const Geometry icon = GeometryOf(TrayIcon());
        desktop->Xdotool({"mousemove", std::to_string(icon.x + icon.width / 2),
                          std::to_string(icon.y + icon.height / 2), "click", button});
        if (std::string(button) == "3") {
            ASSERT_TRUE(WaitUntil([&] { return !desktop->Viewable(window) && others() > before; }))
                << "the tray menu did not open";
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        }
    }

    // Tray > Open (the menu's last entry): the main window in front.
    void OpenMainWindow() const {
        ClickTrayIcon("3");
        Keys({"Up", "Return"});
        ASSERT_TRUE(WaitUntil([&] {
            return desktop->Viewable(window) && desktop->ActiveWindow() == window;
        })) << "the main window did not open";
    }

    void ActivateEditor() const {
        desktop->Xdotool({"windowactivate", "--sync", std::to_string(editor)});
        std::this_thread::sleep_for(std::chrono::milliseconds(700));  // seen in front
    }

    std::vector<TriggerRecord> StoredOnceThereAre(std::size_t count) const {
        std::vector<TriggerRecord> stored;
        WaitUntil([&] {
            return (stored = test::ReadStoredTriggers(tavro.DatabasePath())).size() == count;
        });
        return stored;
    }

    static inline std::unique_ptr<ChildProcess> tray;
    WindowId window = 0;
};

// Tavro starts out of sight, in the tray. A second Tavro shows the window;
// minimised, it goes out of sight (the desktop lists it nowhere); Open puts
// it in the middle of the screen. A trigger made there, whose text is typed
// with a trigger in it that fires nothing in Tavro's own window, expands in
// the editor. Ended by the session, Tavro keeps the edits not saved yet.
TEST_F(MainWindowEndToEndTest, ATriggerMadeInTheWindowExpandsAndPendingEditsSurviveTheEnd) {
    StartTavro({MakeTrigger(u"sig", u"Signature", u"Text", u"Best regards")});
    EXPECT_FALSE(desktop->Viewable(window));
    EXPECT_TRUE(desktop->Viewable(TrayIcon()));
    ShowWindowByStartingTavroAgain();
    desktop->Xdotool({"windowminimize", std::to_string(window)});
    ASSERT_TRUE(WaitUntil([&] { return !desktop->Viewable(window); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(desktop->Viewable(window));
    EXPECT_THAT(Run({"xprop", "-id", std::to_string(window), "WM_STATE"}),
                Not(HasSubstr("Iconic")));
    std::ostringstream hex;
    hex << std::hex << window;
    EXPECT_THAT(Run({"xprop", "-root", "_NET_CLIENT_LIST"}), Not(HasSubstr(hex.str())));

    // Restored from the minimised state, the window may show where it was
    // for a moment before it is centred.
    OpenMainWindow();
    EXPECT_TRUE(WaitUntil([&] { return Centred(window); }))
        << Run({"xwininfo", "-id", std::to_string(window)});

    // New Trigger, its text, name and type, the replacement, Save.
    Keys({"ctrl+n"});
    Type("qqx");
    Keys({"Tab"});
    Type("Made here");
    Keys({"Tab", "t", "Tab"});
    Type("made sig here");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    Keys({"ctrl+s"});
    const std::vector<TriggerRecord> stored = StoredOnceThereAre(2);
    ASSERT_EQ(stored.size(), 2U);
    EXPECT_EQ(stored[0].Trigger, u"qqx");
    EXPECT_EQ(stored[0].Display, u"Made here");
    EXPECT_EQ(stored[0].Type, u"Text");
    EXPECT_EQ(stored[0].ReplaceText, u"made sig here");

    desktop->Xdotool({"windowactivate", "--sync", std::to_string(editor)});
    Type("hello qqx");
    EXPECT_EQ(EditorTextOnceItIs("hello made sig here"), "hello made sig here");

    OpenMainWindow();
    Keys({"Tab", "Tab", "End"});
    Type(" edited");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the last key is up
    ASSERT_EQ(kill(tavro.Pid(), SIGTERM), 0);
    ASSERT_TRUE(tavro.WaitForExit(std::chrono::seconds(10)).has_value());
    std::u16string names;
    for (const TriggerRecord& record : test::ReadStoredTriggers(tavro.DatabasePath())) {
        names += record.Display + u";";
    }
    EXPECT_EQ(ToUtf8(names), "Made here edited;Signature;");
}

// The tray menu: an entry fires into the window in front at its caret,
// erasing nothing; the menu of several matching triggers takes the shown
// window out of sight, and dismissed it delivers nothing and forgets the
// typed keys. A left click on the icon gives the shown window the focus;
// the menu has an entry for every trigger, beyond 21 menu entries too, and
// puts the shown window back afterwards.
TEST_F(MainWindowEndToEndTest, TheTrayMenuAndTheChoiceMenuKeepOutOfTheWindowsWay) {
    std::vector<TriggerRecord> triggers = {MakeTrigger(u"xy", u"A short one", u"Text", u"SHORT"),
                                           MakeTrigger(u"yxy", u"B long one", u"Text", u"LONG")};
    const std::u16string types[] = {u"Text", u"RTF", u"Image", u"Launch"};
    for (int i = 0; i < 19; ++i) {
        const std::u16string number = FromUtf8(std::to_string(10 + i));
        triggers.push_back(
            MakeTrigger(u"t" + number, u"Entry " + number, types[i % 4], u"text " + number));
    }
    StartTavro(triggers);
    Type("hello world");
    Keys({"Left", "Left", "Left", "Left", "Left"});
    std::this_thread::sleep_for(std::chrono::milliseconds(700));  // seen in front
    // The entries of the four types, 3 separators, "Open": "Entry 26" is
    // the last text entry.
    ClickTrayIcon("3");
    Keys({"Up", "Up", "Return"});
    EXPECT_EQ(EditorTextOnceItIs("hello text 26world"), "hello text 26world");
    EXPECT_EQ(desktop->ActiveWindow(), editor);

    OpenMainWindow();
    ActivateEditor();
    Type("yxy");
    EXPECT_TRUE(WaitUntil([&] { return !desktop->Viewable(window); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // the menu opens
    Keys({"Down", "Down", "Return"});
    EXPECT_EQ(EditorTextOnceItIs("hello text 26worldLONG"), "hello text 26worldLONG");
    ActivateEditor();
    Type("yxy");
    std::this_thread::sleep_for(std::chrono::milliseconds(700));  // the menu opens
    Keys({"Escape"});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Type("xy");
    EXPECT_EQ(EditorTextOnceItIs("hello text 26worldLONGyxySHORT"),
              "hello text 26worldLONGyxySHORT");

    OpenMainWindow();
    ActivateEditor();
    ClickTrayIcon("1");
    EXPECT_TRUE(WaitUntil([&] { return desktop->ActiveWindow() == window; }));
    ActivateEditor();
    ClickTrayIcon("3");
    Keys({"Up", "Up", "Return"});
    // The window was shown, so it comes back in front afterwards, centred.
    EXPECT_TRUE(WaitUntil([&] { return desktop->ActiveWindow() == window; }));
    EXPECT_TRUE(Centred(window));
    desktop->Xdotool({"windowactivate", "--sync", std::to_string(editor)});
    EXPECT_EQ(EditorTextOnceItIs("hello text 26worldLONGyxySHORTtext 26"),
              "hello text 26worldLONGyxySHORTtext 26");
}

TEST_F(MainWindowEndToEndTest, AMissingOrBrokenDatabaseEndsTheProgramAfterTheMessage) {
    for (const char* content : {"", "not a database at all"}) {
        TavroProgram broken;
        if (*content != '\0') {
            std::ofstream(broken.DatabasePath()) << content;
        }
        broken.Start(desktop->ProgramEnvironment());
        std::vector<WindowId> message;
        ASSERT_TRUE(WaitUntil([&] {
            return !(message = desktop->Windows({"--name", "Error opening database"})).empty();
        }));
        desktop->Xdotool(
            {"windowactivate", "--sync", std::to_string(message.front()), "key", "Return"});
        EXPECT_NE(broken.WaitForExit(std::chrono::seconds(10)).value_or(0), 0);
    }
}

}  // namespace
}  // namespace tavro::e2e
