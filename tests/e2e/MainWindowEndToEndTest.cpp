// The main window and the tray icon of the tavro program, driven as a person
// drives them: with the mouse on the tray icon and the keyboard in the
// windows, on a desktop with a notification area and mousepad.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <thread>

#include "EndToEndFixture.h"
#include "text/Utf8.h"

namespace tavro::e2e {
namespace {

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 800;

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
    }

    static std::string Run(const std::vector<std::string>& command) {
        return desktop->Run(command).output;
    }

    static Geometry GeometryOf(WindowId window) {
        return GeometryIn(Run({"xwininfo", "-id", std::to_string(window)}));
    }
    static Geometry ScreenGeometry() { return GeometryIn(Run({"xwininfo", "-root"})); }
    static Geometry GeometryIn(const std::string& info) {
        const auto value = [&](const std::string& name) {
            const std::size_t at = info.find(name);
            return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + name.size());
        };
        return {value("Absolute upper-left X:"), value("Absolute upper-left Y:"), value("Width:"),
                value("Height:")};
    }

    // The main window "Tavro!" of this test's program.
    WindowId MainWindow() const {
        for (const WindowId window : desktop->Windows(
                 {"--all", "--pid", std::to_string(tavro.Pid()), "--name", "^Tavro!$"})) {
            return window;
        }
        return 0;
    }

    // The program's icon, docked in the notification area.
    WindowId TrayIcon() const {
        for (const WindowId window : desktop->Windows({"--onlyvisible", "--class", "tavro"})) {
            const Geometry size = GeometryOf(window);
            if (desktop->WindowName(window) == "Tavro" && size.width <= 64 && size.height <= 64) {
                return window;
            }
        }
        return 0;
    }

    // Right-clicks the tray icon and waits for its menu.
    void OpenTrayMenu() const {
        const Geometry icon = GeometryOf(TrayIcon());
        const std::size_t before = desktop->Windows({"--onlyvisible", "--class", "tavro"}).size();
        desktop->Xdotool({"mousemove", std::to_string(icon.x + icon.width / 2),
                          std::to_string(icon.y + icon.height / 2), "click", "3"});
        ASSERT_TRUE(WaitUntil([&] {
            return desktop->Windows({"--onlyvisible", "--class", "tavro"}).size() > before;
        })) << "the tray menu did not open";
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }

    // Tray > Open: the main window in front.
    void OpenMainWindow() const {
        OpenTrayMenu();
        desktop->Xdotool({"key", "Up", "Return"});
        ASSERT_TRUE(WaitUntil([&] {
            const WindowId window = MainWindow();
            return window != 0 && desktop->Viewable(window) && desktop->ActiveWindow() == window;
        })) << "the main window did not open";
    }

    static void Type(const std::string& text) { EndToEndTest::Type(text, 40); }
    static void Keys(const std::vector<std::string>& keys) {
        std::vector<std::string> command{"key", "--delay", "80"};
        command.insert(command.end(), keys.begin(), keys.end());
        desktop->Xdotool(command);
    }

    std::vector<TriggerRecord> StoredOnceThereAre(std::size_t count) const {
        std::vector<TriggerRecord> stored;
        WaitUntil([&] {
            return (stored = test::ReadStoredTriggers(tavro.DatabasePath())).size() == count;
        });
        return stored;
    }

    static inline std::unique_ptr<ChildProcess> tray;
};

TEST_F(MainWindowEndToEndTest, StartsHiddenInTheTrayAndATriggerMadeInTheWindowExpands) {
    StartTavro({MakeTrigger(u"sig", u"Signature", u"Text", u"Best regards")});
    ASSERT_NE(MainWindow(), 0U);
    EXPECT_FALSE(desktop->Viewable(MainWindow()));
    EXPECT_TRUE(desktop->Viewable(TrayIcon()));

    // A second Tavro shows the first one's window and ends with zero.
    TavroProgram second;
    second.WriteDatabase({MakeTrigger(u"two", u"Second", u"Text", u"2")}, {});
    second.Start(desktop->ProgramEnvironment());
    EXPECT_EQ(second.WaitForExit(std::chrono::seconds(10)).value_or(-1), 0);
    ASSERT_TRUE(WaitUntil([&] { return desktop->Viewable(MainWindow()); }));
    desktop->Xdotool({"windowminimize", std::to_string(MainWindow())});
    ASSERT_TRUE(WaitUntil([&] { return !desktop->Viewable(MainWindow()); }));

    // Restored from the minimised state, the window may show where it was
    // for a moment before it is centred.
    OpenMainWindow();
    Geometry window;
    WaitUntil([&] {
        window = GeometryOf(MainWindow());
        return std::abs(window.x + window.width / 2 - kScreenWidth / 2) <= 30 &&
               std::abs(window.y + window.height / 2 - kScreenHeight / 2) <= 30;
    });
    EXPECT_NEAR(window.x + window.width / 2, kScreenWidth / 2, 30);
    EXPECT_NEAR(window.y + window.height / 2, kScreenHeight / 2, 30);

    // New Trigger, its text, name and type, the replacement, Save.
    Keys({"ctrl+n"});
    Type("qqx");
    Keys({"Tab"});
    Type("Made here");
    Keys({"Tab", "t", "Tab"});
    Type("made in the window");
    Keys({"ctrl+s"});
    const std::vector<TriggerRecord> stored = StoredOnceThereAre(2);
    ASSERT_EQ(stored.size(), 2U);
    EXPECT_EQ(stored[0].Trigger, u"qqx");
    EXPECT_EQ(stored[0].Display, u"Made here");
    EXPECT_EQ(stored[0].Type, u"Text");
    EXPECT_EQ(stored[0].ReplaceText, u"made in the window");

    desktop->Xdotool({"windowactivate", "--sync", std::to_string(editor)});
    Type("hello qqx");
    EXPECT_EQ(EditorTextOnceItIs("hello made in the window"), "hello made in the window");
}

TEST_F(MainWindowEndToEndTest, ATrayEntryDeliversAtTheCaretErasingNothing) {
    TriggerRecord launch = MakeTrigger(u"calc", u"Calculator", u"Launch");
    launch.CommandLine = u"true";
    StartTavro({MakeTrigger(u"sig", u"Signature", u"Text", u"Best regards"), launch});
    Type("hello world");
    Keys({"Left", "Left", "Left", "Left", "Left"});
    std::this_thread::sleep_for(std::chrono::milliseconds(700));  // seen in front

    // Calculator - Launch, a separator, Signature - Text, a separator, Open.
    OpenTrayMenu();
    Keys({"Down", "Down", "Return"});
    EXPECT_EQ(EditorTextOnceItIs("hello Best regardsworld"), "hello Best regardsworld");
    EXPECT_EQ(desktop->ActiveWindow(), editor);
}

// The menu of several matching triggers takes the window out of sight first.
// Dismissed, it delivers nothing, and the typed keys are forgotten, so that
// the shorter trigger alone matches next.
TEST_F(MainWindowEndToEndTest, TheChoiceOfSeveralTriggersHidesTheWindow) {
    StartTavro({MakeTrigger(u"xy", u"A short one", u"Text", u"SHORT"),
                MakeTrigger(u"yxy", u"B long one", u"Text", u"LONG")});
    OpenMainWindow();
    const WindowId window = MainWindow();
    desktop->Xdotool({"windowactivate", "--sync", std::to_string(editor)});
    ASSERT_TRUE(desktop->Viewable(window));
    std::this_thread::sleep_for(std::chrono::milliseconds(700));  // seen in front
    Type("yxy");
    EXPECT_TRUE(WaitUntil([&] { return !desktop->Viewable(window); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // the menu opens
    Keys({"Down", "Down", "Return"});
    EXPECT_EQ(EditorTextOnceItIs("LONG"), "LONG");

    desktop->Xdotool({"windowactivate", "--sync", std::to_string(editor)});
    std::this_thread::sleep_for(std::chrono::milliseconds(700));  // seen in front
    Type("yxy");
    std::this_thread::sleep_for(std::chrono::milliseconds(700));  // the menu opens
    Keys({"Escape"});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(EditorText(), "LONGyxy");
    Type("xy");
    EXPECT_EQ(EditorTextOnceItIs("LONGyxySHORT"), "LONGyxySHORT");
}

TEST_F(MainWindowEndToEndTest, TypingInTheOwnFieldsFiresNothingAndMinimisingHides) {
    StartTavro({MakeTrigger(u"sig", u"Signature", u"Text", u"Best regards")});
    OpenMainWindow();
    // From the list through the header fields to the replacement text.
    Keys({"Tab", "Tab", "Tab", "Tab", "ctrl+Home"});
    Type("sig ");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    Keys({"ctrl+s"});
    ASSERT_TRUE(WaitUntil([&] {
        const auto stored = test::ReadStoredTriggers(tavro.DatabasePath());
        return !stored.empty() && stored[0].ReplaceText == u"sig Best regards";
    })) << "the typed trigger was not kept as typed";

    const WindowId window = MainWindow();
    desktop->Xdotool({"windowminimize", std::to_string(window)});
    ASSERT_TRUE(WaitUntil([&] { return !desktop->Viewable(window); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(desktop->Viewable(window));
    // Out of sight, not minimised: the desktop lists it nowhere.
    EXPECT_THAT(Run({"xprop", "-id", std::to_string(window), "WM_STATE"}),
                ::testing::Not(::testing::HasSubstr("Iconic")));
    EXPECT_THAT(Run({"xprop", "-root", "_NET_CLIENT_LIST"}),
                ::testing::Not(::testing::HasSubstr([&] {
                    std::ostringstream hex;
                    hex << std::hex << window;
                    return hex.str();
                }())));

    // Open brings it back, ready for typing.
    OpenMainWindow();
    Keys({"Tab", "Tab", "End"});
    Type("!");
    Keys({"ctrl+s"});
    EXPECT_TRUE(WaitUntil([&] {
        const auto stored = test::ReadStoredTriggers(tavro.DatabasePath());
        return !stored.empty() && stored[0].Display == u"Signature!";
    }));
}

// Ended by File > Exit (with zero), by the session or by `kill`, Tavro keeps
// what was typed in the window and not saved yet.
TEST_F(MainWindowEndToEndTest, EndingWithPendingEditsKeepsThemInTheDatabase) {
    for (const int signal : {0, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        std::filesystem::remove(tavro.DatabasePath());
        StartTavro({MakeTrigger(u"sig", u"Signature", u"Text", u"Best regards")});
        OpenMainWindow();
        Keys({"Tab", "Tab", "End"});
        Type(" edited");
        if (signal == 0) {
            Keys({"alt+f", "x"});
            EXPECT_EQ(tavro.WaitForExit(std::chrono::seconds(10)).value_or(-1), 0);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the last key is up
            ASSERT_EQ(kill(tavro.Pid(), signal), 0);
            ASSERT_TRUE(tavro.WaitForExit(std::chrono::seconds(10)).has_value());
        }
        const auto stored = test::ReadStoredTriggers(tavro.DatabasePath());
        ASSERT_EQ(stored.size(), 1U);
        EXPECT_EQ(stored[0].Display, u"Signature edited");
    }
}

// The tray icon: a left click gives the shown window the focus; the menu
// takes the shown window out of sight while it is open and puts it back in
// the middle of the screen; every trigger has its entry, beyond 21 too.
TEST_F(MainWindowEndToEndTest, TheTrayIconsClicksKeepTheWindowOutOfTheMenusWay) {
    std::vector<TriggerRecord> triggers;
    const std::u16string types[] = {u"Text", u"RTF", u"Image", u"Launch"};
    for (int i = 0; i < 20; ++i) {
        const std::u16string number = FromUtf8(std::to_string(10 + i));
        triggers.push_back(
            MakeTrigger(u"t" + number, u"Entry " + number, types[i % 4], u"text " + number));
    }
    StartTavro(triggers);
    OpenMainWindow();
    const WindowId window = MainWindow();
    desktop->Xdotool({"windowactivate", "--sync", std::to_string(editor)});
    ASSERT_NE(desktop->ActiveWindow(), window);

    const Geometry icon = GeometryOf(TrayIcon());
    const auto click = [&](const char* button) {
        desktop->Xdotool({"mousemove", std::to_string(icon.x + icon.width / 2),
                          std::to_string(icon.y + icon.height / 2), "click", button});
    };
    click("1");
    EXPECT_TRUE(WaitUntil([&] { return desktop->ActiveWindow() == window; }));

    click("3");
    EXPECT_TRUE(WaitUntil([&] { return !desktop->Viewable(window); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // the menu opens
    // 20 entries, 3 separators and "Open": the last one is Open.
    Keys({"Up", "Return"});
    ASSERT_TRUE(WaitUntil([&] { return desktop->Viewable(window); }));
    const Geometry shown = GeometryOf(window);
    const Geometry screen = ScreenGeometry();
    EXPECT_NEAR(shown.x + shown.width / 2, screen.width / 2, 40);
    EXPECT_NEAR(shown.y + shown.height / 2, screen.height / 2, 40);

    // An entry far down the menu delivers into the editor.
    desktop->Xdotool({"windowactivate", "--sync", std::to_string(editor)});
    std::this_thread::sleep_for(std::chrono::milliseconds(700));  // seen in front
    click("3");
    EXPECT_TRUE(WaitUntil([&] { return !desktop->Viewable(window); }));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // the menu opens
    Keys({"Up", "Up", "Return"});
    // The window was shown, so it comes back in front afterwards.
    EXPECT_TRUE(WaitUntil([&] { return desktop->ActiveWindow() == window; }));
    desktop->Xdotool({"windowactivate", "--sync", std::to_string(editor)});
    EXPECT_EQ(EditorTextOnceItIs("text 26"), "text 26");
}

}  // namespace
}  // namespace tavro::e2e
