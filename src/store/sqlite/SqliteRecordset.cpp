#include "store/sqlite/SqliteRecordset.h"

#include <sqlite3.h>

#include "text/Utf8.h"

namespace tavro {

namespace {

constexpr const char* kNoCurrentRecord = "No current record.";

std::string QuotedName(std::string_view name) {
    std::string quoted = "\"";
    for (char c : name) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + '"';
}

}  // namespace

void SqliteRecordset::Finalizer::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

SqliteRecordset::SqliteRecordset(SqliteConnection connection, std::string selectSql,
                                 std::string table)
    : connection_(std::move(connection)),
      selectSql_(std::move(selectSql)),
      table_(std::move(table)) {}

std::unique_ptr<SqliteRecordset> SqliteRecordset::ForQuery(SqliteConnection connection,
                                                           std::string_view sql) {
    std::unique_ptr<SqliteRecordset> recordset(
        new SqliteRecordset(std::move(connection), std::string(sql), ""));
    recordset->Start();
    return recordset;
}

std::unique_ptr<SqliteRecordset> SqliteRecordset::ForTable(SqliteConnection connection,
                                                           std::string_view table) {
    return std::unique_ptr<SqliteRecordset>(new SqliteRecordset(
        std::move(connection), "SELECT * FROM " + QuotedName(table), std::string(table)));
}

SqliteRecordset::Statement SqliteRecordset::Prepare(const std::string& sql) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(connection_.Handle(), sql.c_str(), static_cast<int>(sql.size()), &raw,
                           nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        connection_.ThrowLastError();
    }
    return Statement(raw);
}

void SqliteRecordset::Start() {
    statement_ = Prepare(selectSql_);
    Step();
}

void SqliteRecordset::Step() {
    const int result = sqlite3_step(statement_.get());
    if (result != SQLITE_ROW && result != SQLITE_DONE) {
        atRow_ = false;
        connection_.ThrowLastError();
    }
    atRow_ = result == SQLITE_ROW;
}

void SqliteRecordset::MoveFirst() {
    Start();
    if (!atRow_) {
        throw DatabaseError(kNoCurrentRecord);
    }
}

bool SqliteRecordset::Eof() {
    if (!statement_) {
        Start();
    }
    return !atRow_;
}

void SqliteRecordset::MoveNext() {
    if (Eof()) {
        throw DatabaseError(kNoCurrentRecord);
    }
    Step();
}

std::optional<std::u16string> SqliteRecordset::Field(std::string_view name) {
    if (Eof()) {
        throw DatabaseError(kNoCurrentRecord);
    }
    sqlite3_stmt* statement = statement_.get();
    const std::string wanted(name);
    for (int column = 0; column < sqlite3_column_count(statement); ++column) {
        if (sqlite3_stricmp(sqlite3_column_name(statement, column), wanted.c_str()) == 0) {
            if (sqlite3_column_type(statement, column) == SQLITE_NULL) {
                return std::nullopt;
            }
            const auto* text =
                reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            if (text == nullptr) {  // the conversion to UTF-8 ran out of memory
                connection_.ThrowLastError();
            }
            return FromUtf8(std::string_view(
                text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column))));
        }
    }
    throw DatabaseError("Item not found in this collection: " + std::string(name) + ".");
}

void SqliteRecordset::AddNew() {
    if (table_.empty()) {
        throw DatabaseError("Rows cannot be added to a query.");
    }
    newRow_.clear();
    adding_ = true;
}

void SqliteRecordset::SetField(std::string_view name, const std::u16string& value) {
    if (!adding_) {
        throw DatabaseError("Update or CancelUpdate without AddNew.");
    }
    newRow_.emplace_back(std::string(name), value);
}

void SqliteRecordset::Update() {
    if (!adding_) {
        throw DatabaseError("Update or CancelUpdate without AddNew.");
    }
    adding_ = false;
    std::string columns;
    std::string placeholders;
    for (const auto& field : newRow_) {
        if (!columns.empty()) {
            columns += ", ";
            placeholders += ", ";
        }
        columns += QuotedName(field.first);
        placeholders += '?';
    }
    const Statement insert = Prepare("INSERT INTO " + QuotedName(table_) + " (" + columns +
                                     ") VALUES (" + placeholders + ")");
    int index = 1;
    for (const auto& field : newRow_) {
        // A value SQLite refuses (too long, out of memory) would otherwise be
        // stored as null.
        const std::string text = ToUtf8(field.second);
        if (sqlite3_bind_text64(insert.get(), index++, text.data(), text.size(), SQLITE_TRANSIENT,
                                SQLITE_UTF8) != SQLITE_OK) {
            connection_.ThrowLastError();
        }
    }
    if (sqlite3_step(insert.get()) != SQLITE_DONE) {
        connection_.ThrowLastError();
    }
}

void SqliteRecordset::Close() {
    statement_.reset();
    atRow_ = false;
}

}  // namespace tavro
