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

// The version the corrections apply to, and the one an update stamps, as ReadVersion reads them.
inline constexpr VersionNumbers UpdatableNumbers{14, 1, 3};
inline constexpr VersionNumbers UpdatedNumbers{14, 1, 4};

// True when the version reads 14, 1 and 3.
bool IsUpdatableVersion(const std::string& version);

} // namespace flagwright
