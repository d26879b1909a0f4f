#pragma once

#include <string>
#include <string_view>

namespace flagwright {

// The program's UTF-8 text as the UTF-16 of ODBC and Windows, and back. Malformed input becomes
// U+FFFD instead of failing: each byte that begins no well-formed UTF-8 sequence (a stray or
// truncated byte, an overlong form, a surrogate, a code point beyond U+10FFFF), and each lone
// surrogate of UTF-16. Well-formed text round-trips exactly.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

} // namespace flagwright
