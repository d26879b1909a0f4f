#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace flagwright {

// Where a database keeps its schema version: no row, or no such table, and it is no Emberline
// database.
inline constexpr const char* VersionQuery = "Select Value from Defaults where ID = 'DBVersion'";

// The version an update stamps.
inline constexpr const char* UpdatedVersion = "14.01.04";

// The first three parts of a version as the gate reads them, the one reading there is: each
// part a decimal number, blanks around it allowed; every part that is read is converted before
// any comparison: fewer than two parts fail with 9, a part that is not a number with 13, one
// outside the 16-bit signed range with 6. Two parts read as N.M.0; parts after the third are
// not read.
using VersionNumbers = std::array<std::int16_t, 3>;
VersionNumbers ReadVersion(const std::string& version);

// True when the version reads 14, 1 and 3: the one the corrections apply to.
bool IsUpdatableVersion(const std::string& version);

// True when the version reads 14, 1 and 4: what an update stamps (14.01.04, or 14.1.4 ...).
bool IsUpdatedVersion(const std::string& version);

} // namespace flagwright
