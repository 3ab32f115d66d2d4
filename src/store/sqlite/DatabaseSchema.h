#pragma once

#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

namespace tavro {

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

}  // namespace tavro
