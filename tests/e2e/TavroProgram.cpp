#include "TavroProgram.h"

#include "store/StoreStatements.h"
#include "support/Files.h"
#include "support/TestDesktop.h"

namespace tavro::e2e {

TavroProgram::TavroProgram() {
    std::filesystem::copy_file(TAVRO_PROGRAM, Folder() / "tavro");
}

std::filesystem::path TavroProgram::DatabasePath() const {
    return Folder() / kDatabaseFileName;
}

void TavroProgram::WriteDatabase(const std::vector<TriggerRecord>& triggers,
                                 const ApplicationLists& applications) {
    test::WriteTriggerDatabase(DatabasePath(), triggers, applications);
}

void TavroProgram::Start(const Environment& environment) {
    // A program started before in the folder said it was running: not this one.
    std::filesystem::remove(Folder() / "tavro.log");
    process_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{(Folder() / "tavro").string()}, environment, std::nullopt,
        (Folder() / "tavro.log").string());
}

bool TavroProgram::WaitUntilRunning() {
    return x11::test::WaitUntil([this] {
        return test::ReadFile(Folder() / "tavro.log").find("Tavro is running") != std::string::npos;
    });
}

std::optional<int> TavroProgram::WaitForExit(std::chrono::milliseconds timeout) {
    return process_ ? process_->Wait(timeout) : std::nullopt;
}

void TavroProgram::Stop() {
    process_.reset();
}

}  // namespace tavro::e2e
