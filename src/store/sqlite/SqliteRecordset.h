#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/Database.h"
#include "store/sqlite/SqliteConnection.h"

struct sqlite3_stmt;

namespace tavro {

// The rows of a query read forwards, or a table whose rows can also be
// appended to.
class SqliteRecordset final : public Recordset {
  public:
    static std::unique_ptr<SqliteRecordset> ForQuery(SqliteConnection connection,
                                                     std::string_view sql);
    static std::unique_ptr<SqliteRecordset> ForTable(SqliteConnection connection,
                                                     std::string_view table);

    void MoveFirst() override;
    bool Eof() override;
    void MoveNext() override;
    std::optional<std::u16string> Field(std::string_view name) override;
    void AddNew() override;
    void SetField(std::string_view name, const std::u16string& value) override;
    void Update() override;
    void Close() override;

  private:
    struct Finalizer {
        void operator()(sqlite3_stmt* statement) const;
    };
    using Statement = std::unique_ptr<sqlite3_stmt, Finalizer>;

    SqliteRecordset(SqliteConnection connection, std::string selectSql, std::string table);

    Statement Prepare(const std::string& sql);
    // The query is run at the first read, so that a table opened only to
    // append rows holds no read cursor.
    void Start();
    void Step();

    SqliteConnection connection_;
    std::string selectSql_;
    std::string table_;  // "" for a query
    Statement statement_;
    bool atRow_ = false;
    std::vector<std::pair<std::string, std::u16string>> newRow_;
    bool adding_ = false;
};

}  // namespace tavro
