#pragma once

#include "corrections/KindCodeCorrections.h"
#include "platform/Recordset.h"

#include <cstddef>

namespace flagwright {

// How the kind codes of a database's L_Kind stand against the correction table. Every count
// is of the table's codes: present = corrected + toChange, present + missing = table.
struct KindCodeCounts {
    std::size_t table = KindCodeCorrectionCount;
    std::size_t present = 0;   // codes with at least one row
    std::size_t corrected = 0; // codes whose rows all hold the table's Direct and LineOverhead
    std::size_t toChange = 0;  // codes with a row that a correction would change
    std::size_t missing = 0;   // codes without a row: their correction changes nothing
};

// The query whose rows CompareWithCorrections reads; nothing but a plain read.
inline constexpr const char* KindCodeFlagsQuery =
    "SELECT KindCode, Direct, LineOverhead FROM L_Kind";

// Counts the rows of KindCodeFlagsQuery against the table. A row belongs to a code as the
// correction's WHERE KindCode = 'CODE' finds it under SQL Server's default collation: ASCII
// letters in any case, trailing blanks ignored. A flag other than 0 or 1 (NULL included) is one
// that the correction would change.
KindCodeCounts CompareWithCorrections(const Recordset& kindCodeFlags);

} // namespace flagwright
