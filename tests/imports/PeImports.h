#pragma once

#include <string>
#include <vector>

namespace flagwright::testing {

// The functions a Windows program (PE32 or PE32+) imports, read from its import table, as
// "dll!function" with the DLL's name in lower case, or "dll!#ordinal" for an import by number.
// Throws std::runtime_error when the file is not such a program.
std::vector<std::string> ImportedFunctions(const std::string& path);

} // namespace flagwright::testing
