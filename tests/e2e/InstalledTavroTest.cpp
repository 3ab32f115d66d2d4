#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/TemporaryFolder.h"
#include "support/TestDesktop.h"

namespace tavro::e2e {
namespace {

using x11::test::ChildProcess;
using x11::test::Environment;
using x11::test::TestDesktop;
using x11::test::WaitUntil;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The value of the key in a desktop entry, with the string escapes undone.
std::string EntryValue(const std::string& entry, const std::string& key) {
    std::istringstream lines(entry);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(key + "=")) {
            std::string value;
            for (std::size_t i = key.size() + 1; i < line.size(); ++i) {
                if (line[i] == '\\' && i + 1 < line.size()) {
                    const char escaped = line[++i];
                    value += escaped == 's' ? ' ' : escaped;
                } else {
                    value += line[i];
                }
            }
            return value;
        }
    }
    return {};
}

// The program and arguments an Exec value names: blanks separate them,
// double quotes group them and a backslash in quotes takes the next
// character as it is; "%%" is a percent sign.
std::vector<std::string> ExecArguments(const std::string& exec) {
    std::vector<std::string> arguments;
    std::string current;
    bool quoted = false;
    bool started = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted && c == '\\' && i + 1 < exec.size()) {
            current += exec[++i];
        } else if (c == '"') {
            quoted = !quoted;
            started = true;
        } else if (c == ' ' && !quoted) {
            if (started) {
                arguments.push_back(current);
            }
            current.clear();
            started = false;
        } else if (c == '%' && i + 1 < exec.size() && exec[i + 1] == '%') {
            current += exec[++i];
            started = true;
        } else {
            current += c;
            started = true;
        }
    }
    if (started) {
        arguments.push_back(current);
    }
    return arguments;
}

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

    const std::string exec =
        EntryValue(ReadFile(home.Path() / ".config/autostart/tavro.desktop"), "Exec");
    const std::vector<std::string> command = ExecArguments(exec);
    ASSERT_EQ(command.size(), 1U) << exec;
    EXPECT_EQ(command.front(), (home.Path() / ".local/share/tavro/tavro").string());

    desktop.OpenMousepadWindow();
    const std::filesystem::path log = home.Path() / "tavro.log";
    ChildProcess tavro(command, environment, std::nullopt, log.string());
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
