#include "store/sqlite/DatabaseSchema.h"

#include <string>

#include "store/Database.h"
#include "store/sqlite/SqliteConnection.h"

namespace tavro {

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
    // Every column holds text of any length; text compares without regard
    // to case, as the trigger query's ordering needs.
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

}  // namespace tavro
