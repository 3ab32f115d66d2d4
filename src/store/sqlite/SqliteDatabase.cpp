#include "store/sqlite/SqliteDatabase.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>

#include "store/sqlite/DatabaseSchema.h"
#include "store/sqlite/SqliteRecordset.h"
#include "text/TextCase.h"
#include "text/Utf8.h"

namespace tavro {

namespace {

constexpr std::u16string_view kDeleteAllPrefix = u"delete * from ";

// The store's "Delete * from table" becomes SQLite's "DELETE FROM table".
std::string ToSqlite(std::string_view statement) {
    const std::u16string text = FromUtf8(statement);
    if (EqualsIgnoringCase(text.substr(0, kDeleteAllPrefix.size()), kDeleteAllPrefix)) {
        return "DELETE FROM " + std::string(statement.substr(kDeleteAllPrefix.size()));
    }
    return std::string(statement);
}

bool IsTableName(std::string_view source) {
    return !source.empty() && std::all_of(source.begin(), source.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
    });
}

}  // namespace

std::unique_ptr<Recordset> SqliteDatabase::OpenRecordset(std::string_view source, int type) {
    if (type == kDynaset && IsTableName(source)) {
        return SqliteRecordset::ForTable(connection_, source);
    }
    return SqliteRecordset::ForQuery(connection_, source);
}

void SqliteDatabase::Execute(std::string_view statement, int options) {
    const std::string sql = ToSqlite(statement);
    if (sqlite3_exec(connection_.Handle(), sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK &&
        (options & kFailOnError) != 0) {
        connection_.ThrowLastError();
    }
}

// IMMEDIATE takes the write lock at once, waiting a bounded time for another
// writer, so that a save either can write everything or writes nothing.
void SqliteDatabase::BeginTrans() {
    connection_.ExecuteOrThrow("BEGIN IMMEDIATE");
}

void SqliteDatabase::CommitTrans() {
    connection_.ExecuteOrThrow("COMMIT");
}

void SqliteDatabase::Rollback() {
    sqlite3_exec(connection_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqliteDatabase::Close() {
    connection_.Close();
}

std::unique_ptr<Database> SqliteEngine::OpenDatabase(const std::filesystem::path& path) {
    SqliteConnection connection = SqliteConnection::OpenExisting(path);
    CheckStoreShape(connection);
    return std::make_unique<SqliteDatabase>(std::move(connection));
}

}  // namespace tavro
