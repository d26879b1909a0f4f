#pragma once

#include "platform/ConnectionSlot.h"

#include <array>
#include <string>
#include <string_view>

namespace flagwright {

// One correction: the Direct and LineOverhead flags a kind code must carry in L_Kind.
struct KindCodeCorrection {
    std::string_view KindCode;
    int Direct;
    int LineOverhead;
};

inline constexpr std::size_t KindCodeCorrectionCount = 791;

// The data change from schema version 14.01.03 to 14.01.04, in execution order.
extern const std::array<KindCodeCorrection, KindCodeCorrectionCount> KindCodeCorrections;

// "UPDATE L_Kind SET Direct = d, LineOverhead = l WHERE KindCode = 'CODE'"
std::string CorrectionStatement(const KindCodeCorrection& correction);

// Runs every correction on cnDatabase, one statement per request, in table order, counting in
// `completed` each that has run. The first failure stops it and passes up unchanged; nothing is
// retried or undone, so `completed` then tells how many stayed applied and which one failed.
void ApplyKindCodeCorrections(ConnectionSlot& cnDatabase, std::size_t& completed);

} // namespace flagwright
