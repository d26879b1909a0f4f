#pragma once

#include <string>
#include <string_view>

namespace flagwright {

// The program's UTF-8 text as the UTF-16 of ODBC and Windows, and back. Well-formed text
// round-trips exactly. A lone surrogate of UTF-16 (legal in a Windows name, and in a SQL Server
// database name) travels as the three bytes UTF-8 would give it, as WTF-8 does, and back: no
// UTF-8 reader accepts those, so such a name is carried and shown (escaped), and refused
// wherever it would have to go out as UTF-8 (IsWellFormedUtf8), never replaced by another name.
// Any other malformed UTF-8 becomes U+FFFD instead of failing: each byte that begins no
// well-formed sequence (a stray or truncated byte, an overlong form, a code point beyond
// U+10FFFF).
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

} // namespace flagwright
