#pragma once

#include "store/Database.h"
#include "store/sqlite/SqliteConnection.h"

namespace tavro {

// A store database file opened through SQLite.
class SqliteDatabase final : public Database {
  public:
    explicit SqliteDatabase(SqliteConnection connection) : connection_(std::move(connection)) {}

    std::unique_ptr<Recordset> OpenRecordset(std::string_view source, int type) override;
    void Execute(std::string_view statement, int options) override;
    void BeginTrans() override;
    void CommitTrans() override;
    void Rollback() override;
    void Close() override;

  private:
    SqliteConnection connection_;
};

// Opens store databases with SQLite, checking that they hold the store's
// tables and columns.
class SqliteEngine final : public DatabaseEngine {
  public:
    std::unique_ptr<Database> OpenDatabase(const std::filesystem::path& path) override;
};

}  // namespace tavro
