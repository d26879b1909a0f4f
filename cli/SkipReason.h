#pragma once

#include "discovery/DatabaseAvailability.h"

#include <optional>
#include <string>

namespace flagwright::cli {

// Why --all does not connect to a database the catalog showed this login cannot open ("no
// access for this login", "not online (OFFLINE)", "restricted to its owners and
// administrators"); nothing when it is to be checked. The server's word is shown as names are
// (DisplayedText.h).
std::optional<std::string> SkipReason(const DatabaseAvailability& availability);

// The same for update --all, which does not run on a read-only database either: every
// correction would fail there.
std::optional<std::string> UpdateSkipReason(const DatabaseAvailability& availability);

} // namespace flagwright::cli
