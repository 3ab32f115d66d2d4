#pragma once

#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

namespace tavro {

class SqliteConnection;

// One table of the store and its columns, in their order.
struct TableShape {
    std::string_view name;
    std::vector<std::string_view> columns;
};

// tblTriggers, tblSendKeyApps and tblTextOnlyApps.
std::span<const TableShape> StoreTables();

// Makes a new database file with the store's tables. Throws DatabaseError
// when the file exists already or cannot be made.
void CreateDatabase(const std::filesystem::path& path);

// Throws DatabaseError, naming the table or column, unless the file holds
// the store's tables with just their columns, each of a type that keeps text
// as written. Reading the schema also fails on a file that is not a database.
void CheckStoreShape(SqliteConnection& connection);

}  // namespace tavro
