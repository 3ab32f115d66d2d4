#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tavro {

// A failure of the database engine; what() is its description for the user.
class DatabaseError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Record-set type of a table opened to append rows.
inline constexpr int kDynaset = 2;
// Execute option: a failing statement raises an error.
inline constexpr int kFailOnError = 128;

// The rows of a query, read forwards, or a table opened to append rows.
// Every operation may throw DatabaseError.
class Recordset {
  public:
    virtual ~Recordset() = default;
    // Fails on an empty record set.
    virtual void MoveFirst() = 0;
    // Past the last row.
    virtual bool Eof() = 0;
    virtual void MoveNext() = 0;
    // The value of a column of the current row, by name; nullopt for null.
    virtual std::optional<std::u16string> Field(std::string_view name) = 0;
    // Appending: AddNew, then SetField for each column, then Update.
    virtual void AddNew() = 0;
    virtual void SetField(std::string_view name, const std::u16string& value) = 0;
    virtual void Update() = 0;
    virtual void Close() = 0;
};

// An open database file. Every operation may throw DatabaseError.
class Database {
  public:
    virtual ~Database() = default;
    // A query, or a table name with kDynaset to append rows.
    virtual std::unique_ptr<Recordset> OpenRecordset(std::string_view source, int type = 0) = 0;
    virtual void Execute(std::string_view statement, int options) = 0;
    // One transaction around a save: all of it is stored, or none.
    virtual void BeginTrans() = 0;
    virtual void CommitTrans() = 0;
    virtual void Rollback() = 0;
    virtual void Close() = 0;
};

class DatabaseEngine {
  public:
    virtual ~DatabaseEngine() = default;
    // Opens an existing database file, shared and writable; never creates
    // one. Throws DatabaseError when the file is missing, locked, not a
    // database, or not of the program's shape.
    virtual std::unique_ptr<Database> OpenDatabase(const std::filesystem::path& path) = 0;
};

}  // namespace tavro
