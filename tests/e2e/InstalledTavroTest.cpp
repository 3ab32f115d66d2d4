#include <gtest/gtest.h>

#include "support/Files.h"
#include "support/TemporaryFolder.h"
#include "support/TestDesktop.h"

namespace tavro::e2e {
namespace {

using test::ReadFile;
using x11::test::ChildProcess;
using x11::test::Environment;
using x11::test::TestDesktop;
using x11::test::WaitUntil;

// Tavro installed as a user installs it, started the way the desktop starts
// it at login, expanding a trigger of its starter database in mousepad.
TEST(InstalledTavroTest, StartsFromItsAutostartEntryAndExpandsAStarterTrigger) {
    TestDesktop desktop;
    const test::TemporaryFolder home("tavro home");
    Environment environment = desktop.ProgramEnvironment();
    std::erase_if(environment, [](const std::string& entry) {
        return entry.starts_with("HOME=") || entry.starts_with("XDG_DATA_HOME=") ||
               entry.starts_with("XDG_CONFIG_HOME=");
    });
    environment.push_back("HOME=" + home.Path().string());

    const auto installed =
        x11::test::RunTool({"bash", TAVRO_SOURCE_FOLDER "/scripts/install.sh", TAVRO_BUILD_FOLDER},
                           environment, "", std::chrono::seconds(60));
    ASSERT_EQ(installed.exitCode, 0) << installed.output;

    // The home's name has a blank: the entry quotes the program, as
    // desktop-file-validate accepts.
    const std::string program = (home.Path() / ".local/share/tavro/tavro").string();
    const auto entry = home.Path() / ".config/autostart/tavro.desktop";
    ASSERT_NE(ReadFile(entry).find("\nExec=\"" + program + "\"\n"), std::string::npos)
        << ReadFile(entry);
    const auto validated =
        x11::test::RunTool({"desktop-file-validate", entry.string()}, environment);
    EXPECT_EQ(validated.exitCode, 0) << validated.output;

    desktop.OpenMousepadWindow();
    const std::filesystem::path log = home.Path() / "tavro.log";
    ChildProcess tavro({program}, environment, std::nullopt, log.string());
    ASSERT_TRUE(WaitUntil([&] {
        return ReadFile(log).find("Tavro is running") != std::string::npos;
    })) << ReadFile(log);

    desktop.Xdotool({"type", "--delay", "30", "Hello ;sig"});
    std::string text;
    EXPECT_TRUE(WaitUntil([&] {
        text = desktop.EditorText();
        return text.find("Your name") != std::string::npos;
    })) << text;
    EXPECT_TRUE(text.starts_with("Hello Best regards,")) << text;
    EXPECT_EQ(text.find(";sig"), std::string::npos) << text;
}

}  // namespace
}  // namespace tavro::e2e
