#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "store/ApplicationLists.h"
#include "store/TriggerTable.h"
#include "support/ChildProcess.h"
#include "support/TemporaryFolder.h"
#include "support/TriggerDatabase.h"

namespace tavro::e2e {

using test::MakeTrigger;
using x11::test::ChildProcess;
using x11::test::Environment;

// The tavro program in a folder of its own, with a database written for the
// test, running on a test desktop until the object goes.
class TavroProgram {
  public:
    TavroProgram();
    TavroProgram(const TavroProgram&) = delete;
    TavroProgram& operator=(const TavroProgram&) = delete;

    const std::filesystem::path& Folder() const { return folder_.Path(); }
    std::filesystem::path DatabasePath() const;
    void WriteDatabase(const std::vector<TriggerRecord>& triggers,
                       const ApplicationLists& applications);

    // Starts the program with the environment; Running() tells whether it
    // said it is ready.
    void Start(const Environment& environment);
    bool WaitUntilRunning();
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout);
    pid_t Pid() const { return process_ ? process_->Pid() : 0; }
    void Stop();

  private:
    test::TemporaryFolder folder_{"tavro-e2e"};
    std::unique_ptr<ChildProcess> process_;
};

}  // namespace tavro::e2e
