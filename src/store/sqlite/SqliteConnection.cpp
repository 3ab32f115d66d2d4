#include "store/sqlite/SqliteConnection.h"

#include <sqlite3.h>

#include "store/Database.h"

namespace tavro {

namespace {

// How long a save waits for another program's write lock to go away.
constexpr int kBusyTimeoutMilliseconds = 2000;

std::shared_ptr<sqlite3> Open(const std::filesystem::path& path, int flags) {
    sqlite3* raw = nullptr;
    const int result = sqlite3_open_v2(path.string().c_str(), &raw, flags, nullptr);
    std::shared_ptr<sqlite3> handle(raw, sqlite3_close_v2);
    if (result != SQLITE_OK) {
        const std::string reason = raw == nullptr ? sqlite3_errstr(result) : sqlite3_errmsg(raw);
        throw DatabaseError(QuotedPath(path) + " cannot be opened: " + reason + ".");
    }
    sqlite3_busy_timeout(raw, kBusyTimeoutMilliseconds);
    sqlite3_extended_result_codes(raw, 1);
    return handle;
}

}  // namespace

std::string QuotedPath(const std::filesystem::path& path) {
    std::string quoted(1, '\'');
    quoted += path.string();
    quoted += '\'';
    return quoted;
}

SqliteConnection::SqliteConnection(std::shared_ptr<sqlite3> handle, std::filesystem::path path)
    : handle_(std::move(handle)), path_(std::move(path)) {}

SqliteConnection SqliteConnection::OpenExisting(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        throw DatabaseError("Could not find file " + QuotedPath(path) + ".");
    }
    if (!std::filesystem::is_regular_file(path, error)) {
        throw DatabaseError(QuotedPath(path) + " is not a file.");
    }
    return SqliteConnection(Open(path, SQLITE_OPEN_READWRITE), path);
}

SqliteConnection SqliteConnection::Create(const std::filesystem::path& path) {
    return SqliteConnection(Open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE), path);
}

void SqliteConnection::ExecuteOrThrow(const std::string& sql) {
    if (sqlite3_exec(Handle(), sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        ThrowLastError();
    }
}

void SqliteConnection::ThrowLastError() const {
    throw DatabaseError(QuotedPath(path_) + ": " + sqlite3_errmsg(Handle()) + ".");
}

}  // namespace tavro
