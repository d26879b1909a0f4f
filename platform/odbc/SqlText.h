#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <vector>

namespace flagwright::odbc {

// UTF-8 text of the interface as the driver's wide characters and back.
std::vector<SQLWCHAR> ToSqlText(const std::string& utf8);
std::string FromSqlText(const SQLWCHAR* text, std::size_t length);

} // namespace flagwright::odbc
