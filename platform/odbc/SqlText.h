#pragma once

#include "platform/odbc/OdbcApi.h"

#include <string>
#include <string_view>
#include <vector>

namespace flagwright::odbc {

// Text crosses the ODBC boundary as UTF-16 (see Utf16.h for what malformed text becomes):
// UTF-8 text of the interface as the driver's NUL-terminated wide characters, and back.
std::vector<SQLWCHAR> ToSqlText(std::string_view utf8);
std::string FromSqlText(const SQLWCHAR* text, std::size_t length);

} // namespace flagwright::odbc
