#pragma once

#include <string>

namespace flagwright {

// Where a database keeps its schema version: no row, or no such table, and it is no Emberline
// database.
inline constexpr const char* VersionQuery = "Select Value from Defaults where ID = 'DBVersion'";

// The version an update stamps.
inline constexpr const char* UpdatedVersion = "14.01.04";

// True when the first three parts of the version read 14, 1 and 3. Every part that is read is
// converted before any comparison: fewer than two parts fail with 9, a part that is not a
// number with 13, one outside the 16-bit signed range with 6. Two parts read as N.M.0.
bool IsUpdatableVersion(const std::string& version);

} // namespace flagwright
