#pragma once

#include "Recordset.h"

#include <string>

namespace flagwright {

// The stored version as text; a NULL value fails with 94 (invalid use of null).
std::string VersionText(const Variant& value);

// True when the first three parts of the version read 14, 1 and 3. Every part that is read is
// converted before any comparison: fewer than two parts fail with 9, a part that is not a
// number with 13, one outside the 16-bit signed range with 6. Two parts read as N.M.0.
bool IsUpdatableVersion(const std::string& version);

} // namespace flagwright
