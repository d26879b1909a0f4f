#pragma once

#include <string>
#include <string_view>

namespace flagwright {

// Outside text (a database name, an argument, a server's or a driver's message) in the two
// forms the program writes it for others to read, each safe on any line and in any log.

// On a line of text: every control character escaped, so that nothing can end the line or
// make one of its own. Tab, line feed and carriage return become \t, \n and \r, the other C0
// controls and DEL \xHH, the C1 controls \u0080 to \u009F, a byte that is not UTF-8 \xHH;
// every other character, a backslash included, is as it is. (list -0 prints names exactly.)
std::string Displayed(std::string_view text);

// As a JSON string (RFC 8259): the quote, the backslash and the same control characters
// escaped, U+2028 and U+2029 too; a lone surrogate as itself (\udXXX); any other byte that is
// not UTF-8 U+FFFD, as JSON text is UTF-8.
std::string JsonString(std::string_view text);

} // namespace flagwright
