#include "StoreFixture.h"

#include <sqlite3.h>

#include <stdexcept>

#include "store/StoreStatements.h"
#include "store/sqlite/DatabaseSchema.h"

namespace tavro::test {

void RunSql(const std::filesystem::path& database, const std::string& sql) {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(database.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    char* message = nullptr;
    const int result = sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, &message);
    const std::string error = message == nullptr ? "" : message;
    sqlite3_free(message);
    sqlite3_close(raw);
    if (result != SQLITE_OK) {
        throw std::runtime_error(sql + ": " + error);
    }
}

StoreFixture::StoreFixture()
    : store({.triggers = triggers,
             .applications = applications,
             .programFolder = folder.Path(),
             .engine = engine,
             .messages = platform.desktop,
             .exit = platform.desktop,
             .lstTriggers = lstTriggers,
             .tray = platform.desktop,
             .lstSendKey = lstSendKey,
             .lstTextOnly = lstTextOnly,
             .staging = platform.desktop}),
      lists({.applications = applications,
             .programFolder = folder.Path(),
             .engine = engine,
             .messages = platform.desktop,
             .input = platform.desktop,
             .lstSendKey = lstSendKey,
             .lstTextOnly = lstTextOnly}) {
    CreateDatabase(DatabasePath());
}

std::filesystem::path StoreFixture::DatabasePath() const {
    return folder.Path() / kDatabaseFileName;
}

void StoreFixture::InsertTrigger(const std::string& trigger, const std::string& display,
                                 const std::string& type, const std::string& replaceText) {
    RunSql(DatabasePath(),
           "INSERT INTO tblTriggers (Trigger, Display, Type, ReplaceText) VALUES (" + trigger +
               ", " + display + ", " + type + ", " + replaceText + ")");
}

std::vector<std::string> StoreFixture::StoredColumn(const std::string& query) const {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(DatabasePath().c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(raw, query.c_str(), -1, &statement, nullptr);
    std::vector<std::string> values;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        const auto* text = sqlite3_column_text(statement, 0);
        values.emplace_back(text == nullptr ? "<null>" : reinterpret_cast<const char*>(text));
    }
    sqlite3_finalize(statement);
    sqlite3_close(raw);
    return values;
}

}  // namespace tavro::test
