#pragma once

#include <string>
#include <string_view>

namespace flagwright::cli {

// A database name or an argument as the console program prints it, on a line with other
// text: every control character escaped, so that nothing in a name can end the line or make
// a line of its own. Tab, line feed and carriage return become \t, \n and \r, the other C0
// controls and DEL \xHH, the C1 controls \u0080 to \u009F, and a byte that is not UTF-8 \xHH;
// every other character, a backslash included, is printed as it is. `list -0` prints names
// exactly.
std::string Displayed(std::string_view text);

} // namespace flagwright::cli
