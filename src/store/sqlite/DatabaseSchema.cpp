#include "store/sqlite/DatabaseSchema.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "store/Database.h"
#include "store/sqlite/SqliteConnection.h"
#include "store/sqlite/SqliteRecordset.h"
#include "text/TextCase.h"
#include "text/Utf8.h"

namespace tavro {

namespace {

struct DeclaredColumn {
    std::string name;
    std::string type;
};

// Whether a column keeps a text exactly as written. By SQLite's affinity
// rules a declared type that contains INT makes numbers of numeric texts
// ("007" becomes 7), one that contains CHAR, CLOB or TEXT keeps text, and
// a column without a declared type keeps every value as given. Any other
// type (REAL, NUMERIC, BLOB, DATE, STRING, ...) converts or is not text.
bool KeepsText(const std::string& declaredType) {
    std::string type = declaredType;
    std::transform(type.begin(), type.end(), type.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const auto contains = [&](const char* part) { return type.find(part) != std::string::npos; };
    return type.empty() ||
           (!contains("INT") && (contains("CHAR") || contains("CLOB") || contains("TEXT")));
}

std::vector<DeclaredColumn> DeclaredColumns(SqliteConnection& connection, std::string_view table) {
    const auto rows =
        SqliteRecordset::ForQuery(connection, "PRAGMA table_info(" + std::string(table) + ")");
    std::vector<DeclaredColumn> columns;
    for (; !rows->Eof(); rows->MoveNext()) {
        columns.push_back(
            {ToUtf8(rows->Field("name").value_or(u"")), ToUtf8(rows->Field("type").value_or(u""))});
    }
    return columns;
}

bool SameName(std::string_view a, std::string_view b) {
    return EqualsIgnoringCase(FromUtf8(a), FromUtf8(b));
}

}  // namespace

std::span<const TableShape> StoreTables() {
    static const TableShape kTables[] = {
        {"tblTriggers",
         {"Trigger", "Display", "ReplaceText", "ReplaceRTFFile", "ReplaceImageFile", "CommandLine",
          "Type"}},
        {"tblSendKeyApps", {"SendKeyApp"}},
        {"tblTextOnlyApps", {"TextOnlyApp"}},
    };
    return kTables;
}

void CreateDatabase(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::exists(path, error)) {
        throw DatabaseError("The file " + QuotedPath(path) + " exists already.");
    }
    // Every column holds text of any length. NOCASE is SQLite's own, so
    // that every SQLite tool agrees on indexes; it ignores the case of ASCII
    // letters only, and the store orders the triggers again when it reads
    // them.
    std::string schema = "BEGIN;";
    for (const TableShape& table : StoreTables()) {
        schema += "CREATE TABLE " + std::string(table.name) + " (";
        for (std::size_t i = 0; i < table.columns.size(); ++i) {
            if (i > 0) {
                schema += ", ";
            }
            schema += std::string(table.columns[i]) + " TEXT COLLATE NOCASE";
        }
        schema += ");";
    }
    schema += "COMMIT;";
    SqliteConnection connection = SqliteConnection::Create(path);
    connection.ExecuteOrThrow(schema);
}

void CheckStoreShape(SqliteConnection& connection) {
    const std::string where = QuotedPath(connection.Path()) + " is not a Tavro database: ";
    for (const TableShape& table : StoreTables()) {
        const std::string tableName(table.name);
        const std::vector<DeclaredColumn> present = DeclaredColumns(connection, table.name);
        if (present.empty()) {
            throw DatabaseError(where + "it has no table " + tableName + ".");
        }
        for (std::string_view column : table.columns) {
            if (std::none_of(present.begin(), present.end(), [&](const DeclaredColumn& declared) {
                    return SameName(declared.name, column);
                })) {
                throw DatabaseError(where + "table " + tableName + " has no column " +
                                    std::string(column) + ".");
            }
        }
        // Every save rewrites whole rows: a column the store does not write
        // would be reset, one that does not keep text would change values.
        for (const DeclaredColumn& declared : present) {
            if (std::none_of(
                    table.columns.begin(), table.columns.end(),
                    [&](std::string_view column) { return SameName(declared.name, column); })) {
                throw DatabaseError(where + "table " + tableName + " has a column " +
                                    declared.name + ", which Tavro does not write.");
            }
            if (!KeepsText(declared.type)) {
                throw DatabaseError(where + "column " + declared.name + " of table " + tableName +
                                    " is of type " + declared.type + ", not text.");
            }
        }
    }
}

}  // namespace tavro
