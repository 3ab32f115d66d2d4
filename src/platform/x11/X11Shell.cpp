#include "platform/x11/X11Shell.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/Utf8.h"

namespace tavro::x11 {

namespace {

constexpr std::string_view kOpener = "xdg-open";
constexpr std::string_view kDefaultPath = "/usr/local/bin:/usr/bin:/bin";
constexpr std::intptr_t kStarted = 42;
constexpr std::intptr_t kOutOfResources = 0;
constexpr std::intptr_t kFileNotFound = 2;

std::string FindOnPath(std::string_view program) {
    const char* path = std::getenv("PATH");
    std::string_view directories = path != nullptr ? path : kDefaultPath;
    while (!directories.empty()) {
        const std::size_t end = std::min(directories.find(':'), directories.size());
        std::string candidate(directories.substr(0, end));
        candidate += '/';
        candidate += program;
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        directories.remove_prefix(std::min(end + 1, directories.size()));
    }
    return {};
}

}  // namespace

std::intptr_t X11Shell::ShellExecuteA(WindowHandle, const std::u16string&,
                                      const std::u16string& file, const std::u16string&,
                                      const std::u16string& directory, int) {
    std::string opener = FindOnPath(kOpener);
    if (opener.empty()) {
        return kFileNotFound;
    }
    std::string argument = ToUtf8(file);
    const std::string folder = ToUtf8(directory);
    char* const arguments[] = {opener.data(), argument.data(), nullptr};

    // The child starts the opener as a grandchild and ends at once, so the
    // opener belongs to init and nobody waits for it. Between fork and exec
    // only async-signal-safe calls.
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
        execv(opener.c_str(), arguments);
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return kStarted;
}

}  // namespace tavro::x11
