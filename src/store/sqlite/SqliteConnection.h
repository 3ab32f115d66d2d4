#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;

namespace tavro {

// The path between single quotes, as the engine's descriptions show it.
std::string QuotedPath(const std::filesystem::path& path);

// One SQLite connection, shared by the database and its record sets so that
// none of them outlives it.
class SqliteConnection {
  public:
    // Opens an existing file for reading and writing; never creates one.
    static SqliteConnection OpenExisting(const std::filesystem::path& path);
    // Makes a new, empty database file.
    static SqliteConnection Create(const std::filesystem::path& path);

    sqlite3* Handle() const { return handle_.get(); }
    const std::filesystem::path& Path() const { return path_; }

    // Runs SQL that returns no rows; throws DatabaseError on failure.
    void ExecuteOrThrow(const std::string& sql);
    // Throws DatabaseError with the connection's last error.
    [[noreturn]] void ThrowLastError() const;
    void Close() { handle_.reset(); }

  private:
    SqliteConnection(std::shared_ptr<sqlite3> handle, std::filesystem::path path);

    std::shared_ptr<sqlite3> handle_;
    std::filesystem::path path_;
};

}  // namespace tavro
