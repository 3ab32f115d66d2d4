#include "platform/x11/X11Shell.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/x11/DesktopEntry.h"
#include "text/Utf8.h"

namespace tavro::x11 {

namespace {

constexpr std::string_view kOpener = "xdg-open";
constexpr std::string_view kTerminal = "x-terminal-emulator";
constexpr std::string_view kDefaultPath = "/usr/local/bin:/usr/bin:/bin";
constexpr std::intptr_t kStarted = 42;
constexpr std::intptr_t kOutOfResources = 0;
constexpr std::intptr_t kFileNotFound = 2;

// A program to run: the file and its argument list, which starts with the
// name it is called by.
struct Command {
    std::string program;
    std::vector<std::string> arguments;
};

bool IsExecutableFile(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

// The executable file of that name in a folder of PATH; "" when none has
// one. An empty entry of PATH (the current folder) is not searched.
std::string FindOnPath(std::string_view program) {
    const char* path = std::getenv("PATH");
    std::string_view directories = path != nullptr ? path : kDefaultPath;
    while (!directories.empty()) {
        const std::size_t end = std::min(directories.find(':'), directories.size());
        if (end > 0 && !program.empty()) {
            std::string candidate(directories.substr(0, end));
            candidate += '/';
            candidate += program;
            if (IsExecutableFile(candidate)) {
                return candidate;
            }
        }
        directories.remove_prefix(std::min(end + 1, directories.size()));
    }
    return {};
}

// The file the string names, a relative path taken from the folder.
std::string PathIn(const std::string& folder, const std::string& file) {
    return file.starts_with('/') || folder.empty() ? file : folder + '/' + file;
}

// The program that the whole string names: an executable file at that path,
// or a name (no slash) found on PATH.
std::optional<Command> ProgramNamed(const std::string& file, const std::string& folder) {
    const std::string program =
        file.find('/') == std::string::npos ? FindOnPath(file) : PathIn(folder, file);
    if (program.empty() || !IsExecutableFile(program)) {
        return std::nullopt;
    }
    return Command{program, {file}};
}

// The application that the desktop entry names (its file, or its ID), and
// the folder it runs in; std::nullopt when the string names none that can
// start.
std::optional<std::pair<Command, std::string>> ApplicationOf(const std::string& file,
                                                             const std::string& folder) {
    if (!file.ends_with(kDesktopEntrySuffix)) {
        return std::nullopt;
    }
    const std::string entry =
        file.find('/') == std::string::npos ? FindDesktopEntry(file) : PathIn(folder, file);
    std::optional<DesktopCommand> command = entry.empty() ? std::nullopt : ReadDesktopEntry(entry);
    if (!command) {
        return std::nullopt;
    }
    std::vector<std::string>& arguments = command->arguments;
    if (command->terminal) {
        arguments.insert(arguments.begin(), {std::string(kTerminal), "-e"});
    }
    const std::string program =
        arguments.front().find('/') == std::string::npos
            ? FindOnPath(arguments.front())
            : PathIn(command->folder.empty() ? folder : command->folder, arguments.front());
    if (program.empty()) {
        return std::nullopt;
    }
    return std::pair{Command{program, std::move(arguments)},
                     command->folder.empty() ? folder : command->folder};
}

std::vector<char*> ArgumentPointers(std::vector<std::string>& arguments) {
    std::vector<char*> pointers;
    for (std::string& argument : arguments) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Runs the command in the folder, or when it cannot be run (a file that is
// executable but no program), the fallback. The child starts it as a
// grandchild and ends at once, so the program belongs to init and nobody
// waits for it. No shell reads anything.
std::intptr_t Start(Command command, const std::string& folder, Command fallback) {
    const std::vector<char*> arguments = ArgumentPointers(command.arguments);
    const std::vector<char*> fallbackArguments = ArgumentPointers(fallback.arguments);
    // Between fork and exec only async-signal-safe calls.
    const pid_t child = fork();
    if (child < 0) {
        return kOutOfResources;
    }
    if (child == 0) {
        setsid();
        if (fork() != 0) {
            _exit(0);
        }
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        if (!folder.empty() && chdir(folder.c_str()) != 0) {
            _exit(127);
        }
        close_range(3, ~0U, 0);
        execv(command.program.c_str(), arguments.data());
        if (!fallback.program.empty()) {
            execv(fallback.program.c_str(), fallbackArguments.data());
        }
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return kStarted;
}

}  // namespace

std::intptr_t X11Shell::ShellExecuteA(WindowHandle, const std::u16string&,
                                      const std::u16string& file, const std::u16string&,
                                      const std::u16string& directory, int) {
    const std::string target = ToUtf8(file);
    const std::string folder = ToUtf8(directory);
    if (auto application = ApplicationOf(target, folder)) {
        return Start(std::move(application->first), application->second, {});
    }
    const std::string opener = FindOnPath(kOpener);
    Command open = opener.empty() ? Command{} : Command{opener, {opener, target}};
    if (std::optional<Command> program = ProgramNamed(target, folder)) {
        return Start(std::move(*program), folder, std::move(open));
    }
    if (opener.empty()) {
        return kFileNotFound;
    }
    return Start(std::move(open), folder, {});
}

}  // namespace tavro::x11
