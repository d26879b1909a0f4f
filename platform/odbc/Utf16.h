#pragma once

#include "OdbcApi.h"

#include <string>
#include <string_view>
#include <vector>

namespace flagwright::odbc {

// Text crosses the ODBC boundary as UTF-16. Malformed input (bad UTF-8 bytes, lone
// surrogates) becomes U+FFFD instead of failing, so no input can make a conversion misbehave.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// UTF-8 text of the interface as the driver's NUL-terminated wide characters, and back.
std::vector<SQLWCHAR> ToSqlText(std::string_view utf8);
std::string FromSqlText(const SQLWCHAR* text, std::size_t length);

} // namespace flagwright::odbc
