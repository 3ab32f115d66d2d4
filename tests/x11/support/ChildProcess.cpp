#include "support/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <thread>

namespace tavro::x11::test {

namespace {

constexpr std::chrono::milliseconds kGracePeriod{3000};
constexpr std::chrono::milliseconds kReapInterval{10};

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings) {
        pointers.push_back(s.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

std::string NameOf(const std::string& entry) {
    return entry.substr(0, entry.find('='));
}

// Both ends close on exec: the child gets only what is duplicated for it.
std::pair<int, int> MakePipe() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe2 failed");
    }
    return {ends[0], ends[1]};
}

pid_t Spawn(std::vector<std::string> command, Environment environment, std::optional<int> inputFd,
            std::optional<int> outputFd, const std::string& logPath) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (inputFd) {
        posix_spawn_file_actions_adddup2(&actions, *inputFd, STDIN_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    }
    const std::string log = logPath.empty() ? "/dev/null" : logPath;
    for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
        if (fd == STDOUT_FILENO && outputFd) {
            posix_spawn_file_actions_adddup2(&actions, *outputFd, fd);
        } else {
            posix_spawn_file_actions_addopen(&actions, fd, log.c_str(),
                                             O_WRONLY | O_CREAT | O_APPEND, 0600);
        }
    }
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, command.front().c_str(), &actions, nullptr,
                                   Pointers(command).data(), Pointers(environment).data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        throw std::runtime_error("cannot start " + command.front());
    }
    return pid;
}

}  // namespace

Environment EnvironmentWith(const Environment& entries) {
    Environment current;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        current.emplace_back(*entry);
    }
    return EnvironmentWith(current, entries);
}

Environment EnvironmentWith(const Environment& base, const Environment& entries) {
    Environment environment;
    for (const std::string& variable : base) {
        bool replaced = false;
        for (const std::string& wanted : entries) {
            replaced = replaced || NameOf(wanted) == NameOf(variable);
        }
        if (!replaced) {
            environment.push_back(variable);
        }
    }
    environment.insert(environment.end(), entries.begin(), entries.end());
    return environment;
}

ChildProcess::ChildProcess(const std::vector<std::string>& command, const Environment& environment,
                           std::optional<int> outputFd, const std::string& logPath)
    : pid_(Spawn(command, environment, std::nullopt, outputFd, logPath)) {}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!status_) {
        int status = 0;
        const pid_t reaped = waitpid(pid_, &status, WNOHANG);
        if (reaped == pid_ || (reaped < 0 && errno != EINTR)) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        } else if (std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        } else {
            std::this_thread::sleep_for(kReapInterval);
        }
    }
    return status_;
}

void ChildProcess::Stop() {
    if (status_) {
        return;
    }
    kill(pid_, SIGTERM);
    if (!Wait(kGracePeriod)) {
        kill(pid_, SIGKILL);
        Wait(kGracePeriod);
    }
}

DetachedProcess::~DetachedProcess() {
    kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + kGracePeriod;
    while (kill(pid_, 0) == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(kReapInterval);
    }
}

ToolResult RunTool(const std::vector<std::string>& command, const Environment& environment,
                   const std::string& input, std::chrono::milliseconds timeout) {
    const auto [inputRead, inputWrite] = MakePipe();
    const auto [outputRead, outputWrite] = MakePipe();
    pid_t pid = 0;
    try {
        pid = Spawn(command, environment, inputRead, outputWrite, "");
    } catch (...) {
        for (const int fd : {inputRead, inputWrite, outputRead, outputWrite}) {
            close(fd);
        }
        throw;
    }
    close(inputRead);
    close(outputWrite);
    const bool written = input.empty() || write(inputWrite, input.data(), input.size()) >= 0;
    close(inputWrite);

    ToolResult result;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd descriptor{.fd = outputRead, .events = POLLIN, .revents = 0};
        if (left.count() <= 0 || poll(&descriptor, 1, static_cast<int>(left.count())) == 0) {
            kill(pid, SIGKILL);
            break;
        }
        const ssize_t count = read(outputRead, buffer, sizeof buffer);
        if (count <= 0) {
            break;
        }
        result.output.append(buffer, static_cast<std::size_t>(count));
    }
    close(outputRead);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!written) {
        throw std::runtime_error("cannot write to " + command.front());
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace tavro::x11::test
