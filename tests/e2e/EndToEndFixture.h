#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "TavroProgram.h"
#include "support/TestDesktop.h"

namespace tavro::e2e {

using x11::test::TestDesktop;
using x11::test::WaitUntil;
using x11::test::WindowId;

// A 4 by 4 red PNG picture.
inline const std::string kRedSquarePng(
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x04\x00\x00\x00"
    "\x04\x08\x02\x00\x00\x00\x26\x93\x09\x29\x00\x00\x00\x10\x49\x44\x41\x54\x78\x9c\x63\xf8\xcf"
    "\xc0\x00\x47\x0c\xc4\x71\x00\xae\x93\x0f\xf1\xd0\x5f\x23\x9e\x00\x00\x00\x00\x49\x45\x4e\x44"
    "\xae\x42\x60\x82",
    73);

// Tavro on a desktop of its own, typing into mousepad. xdotool types as a
// user would; the editor's text is read back through its own copy. The
// tests of one program share the desktop.
class EndToEndTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        desktop = std::make_unique<TestDesktop>();
        editor = desktop->OpenMousepadWindow();
    }
    static void TearDownTestSuite() { desktop.reset(); }

    void SetUp() override {
        desktop->Xdotool({"windowactivate", "--sync", std::to_string(editor)});
        desktop->ClearEditor();
    }

    void StartTavro(const std::vector<TriggerRecord>& triggers,
                    const ApplicationLists& applications = {}) {
        tavro.WriteDatabase(triggers, applications);
        tavro.Start(desktop->ProgramEnvironment());
        ASSERT_TRUE(tavro.WaitUntilRunning());
    }

    static void Type(const std::string& text, int delayMilliseconds = 30) {
        desktop->Xdotool({"type", "--delay", std::to_string(delayMilliseconds), text});
    }
    static void Keys(const std::vector<std::string>& keys) {
        std::vector<std::string> command{"key", "--delay", "80"};
        command.insert(command.end(), keys.begin(), keys.end());
        desktop->Xdotool(command);
    }

    // The text of the window in front; the caret is at its end afterwards.
    static std::string EditorText() {
        std::string text = desktop->EditorText();
        desktop->Xdotool({"key", "ctrl+End"});
        return text;
    }

    // Waits until the window in front holds the text; returns what it holds.
    static std::string EditorTextOnceItIs(const std::string& expected) {
        std::string text;
        WaitUntil([&] { return (text = EditorText()) == expected; }, std::chrono::seconds(5));
        return text;
    }

    static std::string Clipboard(const std::string& type = "UTF8_STRING") {
        return desktop->Run({"xclip", "-o", "-selection", "clipboard", "-t", type}).output;
    }

    // The window of this test's Tavro with exactly this name; 0 for none.
    WindowId TavroWindow(const std::string& name) const {
        const auto windows = desktop->Windows(
            {"--all", "--pid", std::to_string(tavro.Pid()), "--name", "^" + name + "$"});
        return windows.empty() ? 0 : windows.front();
    }

    // Starting a second Tavro shows the first one's window, in front, and
    // ends with zero.
    void ShowWindowByStartingTavroAgain() {
        TavroProgram second;
        second.WriteDatabase({MakeTrigger(u"two", u"Second", u"Text", u"2")}, {});
        second.Start(desktop->ProgramEnvironment());
        EXPECT_EQ(second.WaitForExit(std::chrono::seconds(10)).value_or(-1), 0);
        const WindowId window = TavroWindow("Tavro!");
        ASSERT_TRUE(WaitUntil([&] {
            return desktop->Viewable(window) && desktop->ActiveWindow() == window;
        })) << "the main window did not open";
    }

    // Starts a program on the desktop and puts its first visible window that
    // `xdotool search` finds with the arguments in front.
    std::unique_ptr<ChildProcess> StartApplication(const std::vector<std::string>& command,
                                                   const std::vector<std::string>& search,
                                                   WindowId& window) {
        auto application =
            std::make_unique<ChildProcess>(command, desktop->ProgramEnvironment(), std::nullopt,
                                           (tavro.Folder() / LogName(command.front())).string());
        std::vector<std::string> arguments{"--onlyvisible"};
        arguments.insert(arguments.end(), search.begin(), search.end());
        std::vector<WindowId> found;
        EXPECT_TRUE(WaitUntil([&] { return !(found = desktop->Windows(arguments)).empty(); },
                              std::chrono::seconds(90)));
        window = found.empty() ? 0 : found.front();
        if (window != 0) {
            desktop->Xdotool({"windowactivate", "--sync", std::to_string(window)});
        }
        return application;
    }

    // An "Image" trigger with a picture in the program's folder, and the
    // text that applications without pictures get.
    TriggerRecord PictureTrigger(const std::u16string& trigger, const std::u16string& text) {
        TriggerRecord image = MakeTrigger(trigger, u"Logo", u"Image", text);
        image.ReplaceImageFile = (tavro.Folder() / "logo.png").u16string();
        std::ofstream(tavro.Folder() / "logo.png", std::ios::binary) << kRedSquarePng;
        return image;
    }

    // The log of a program started in the test, named after the program.
    static std::string LogName(const std::string& program) {
        return std::filesystem::path(program).filename().string() + ".log";
    }

    // LibreOffice Writer with a profile of its own, opening the document if
    // one is given; its document has the focus once the window is in front
    // for a moment. Writer started while a GTK editor (mousepad) owns the
    // clipboard fetches its first paste from the next owner only about
    // three seconds after its Ctrl+V: xclip owns it meanwhile.
    std::unique_ptr<ChildProcess> StartWriter(WindowId& window, const std::string& document = "") {
        desktop->SetClipboard("-");
        const auto profile = tavro.Folder() / "office-profile";
        std::vector<std::string> command{"soffice", "--writer", "--norestore", "--nologo",
                                         "-env:UserInstallation=file://" + profile.string()};
        if (!document.empty()) {
            command.push_back(document);
        }
        auto writer = StartApplication(command, {"--name", "LibreOffice Writer"}, window);
        std::this_thread::sleep_for(std::chrono::seconds(2));
        return writer;
    }

    static inline std::unique_ptr<TestDesktop> desktop;
    static inline WindowId editor = 0;
    TavroProgram tavro;
};

}  // namespace tavro::e2e
