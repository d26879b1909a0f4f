#pragma once

#include <string>
#include <string_view>

namespace flagwright::odbc {

// What an OLE DB style connection string says about where and how to log in.
struct ConnectionSettings {
    std::string userId;
    std::string password;
    std::string database;
    std::string dataSource;
    int connectTimeoutSeconds = 15;
};

// Reads "key=value;..." by the OLE DB rules: case-insensitive keywords with their usual
// synonyms, blanks around keywords and values ignored, values optionally quoted with " or '
// (the quote doubled inside), "==" in a keyword for "=", unknown keywords ignored.
// Malformed text fails with 3001.
ConnectionSettings ParseConnectionString(std::string_view text);

} // namespace flagwright::odbc
