#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace tavro::x11::test {

// "NAME=value" entries: the environment of a child process.
using Environment = std::vector<std::string>;

// The environment (this process's by default) with the given entries set.
Environment EnvironmentWith(const Environment& entries);
Environment EnvironmentWith(const Environment& base, const Environment& entries);

// A program found on PATH, started with /dev/null as its input and its
// output to `outputFd`, else with its errors to `logPath` (or /dev/null);
// stopped (SIGTERM, then SIGKILL) and reaped with the object.
class ChildProcess {
  public:
    ChildProcess(const std::vector<std::string>& command, const Environment& environment,
                 std::optional<int> outputFd = std::nullopt, const std::string& logPath = "");
    ~ChildProcess() { Stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid_; }
    // The exit status, or std::nullopt while it still runs after the timeout.
    std::optional<int> Wait(std::chrono::milliseconds timeout);
    void Stop();

  private:
    pid_t pid_ = 0;
    std::optional<int> status_;
};

// A process a tool left running (the bus daemon of dbus-launch): no child
// of this one, so ended with the object and only waited for.
class DetachedProcess {
  public:
    explicit DetachedProcess(pid_t pid) : pid_(pid) {}
    ~DetachedProcess();
    DetachedProcess(const DetachedProcess&) = delete;
    DetachedProcess& operator=(const DetachedProcess&) = delete;

  private:
    pid_t pid_;
};

struct ToolResult {
    int exitCode = -1;
    std::string output;
};

// Runs a program to its end (at most `timeout`) with `input` on its standard
// input; its exit code and standard output.
ToolResult RunTool(const std::vector<std::string>& command, const Environment& environment,
                   const std::string& input = "",
                   std::chrono::milliseconds timeout = std::chrono::seconds(20));

}  // namespace tavro::x11::test
