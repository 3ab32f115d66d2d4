#include "TavroProgram.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "store/Database.h"
#include "store/StoreDatabase.h"
#include "store/StoreStatements.h"
#include "store/sqlite/DatabaseSchema.h"
#include "store/sqlite/SqliteDatabase.h"
#include "support/TestDesktop.h"

namespace tavro::e2e {

TriggerRecord MakeTrigger(std::u16string trigger, std::u16string display, std::u16string type,
                          std::u16string replaceText) {
    TriggerRecord record;
    record.Trigger = std::move(trigger);
    record.Display = std::move(display);
    record.Type = std::move(type);
    record.ReplaceText = std::move(replaceText);
    return record;
}

TavroProgram::TavroProgram() {
    std::filesystem::copy_file(TAVRO_PROGRAM, Folder() / "tavro");
}

std::filesystem::path TavroProgram::DatabasePath() const {
    return Folder() / kDatabaseFileName;
}

void TavroProgram::WriteDatabase(const std::vector<TriggerRecord>& triggers,
                                 const ApplicationLists& applications) {
    CreateDatabase(DatabasePath());
    SqliteEngine engine;
    const auto database = engine.OpenDatabase(DatabasePath());
    const auto table = database->OpenRecordset(kTriggersTable, kDynaset);
    for (const TriggerRecord& record : triggers) {
        AppendTriggerRow(*table, record);
    }
    table->Close();
    AppendApplicationRows(*database, kSendKeyAppsTable, kSendKeyAppColumn,
                          applications.SendKeyApps);
    AppendApplicationRows(*database, kTextOnlyAppsTable, kTextOnlyAppColumn,
                          applications.TextOnlyApps);
    database->Close();
}

void TavroProgram::Start(const Environment& environment) {
    process_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{(Folder() / "tavro").string()}, environment, std::nullopt,
        (Folder() / "tavro.log").string());
}

bool TavroProgram::WaitUntilRunning() {
    return x11::test::WaitUntil([this] {
        std::ifstream log(Folder() / "tavro.log");
        std::stringstream text;
        text << log.rdbuf();
        return text.str().find("Tavro is running") != std::string::npos;
    });
}

std::optional<int> TavroProgram::WaitForExit(std::chrono::milliseconds timeout) {
    return process_ ? process_->Wait(timeout) : std::nullopt;
}

void TavroProgram::Stop() {
    process_.reset();
}

}  // namespace tavro::e2e
