#pragma once

#include "discovery/OfferedDatabases.h"

#include <optional>
#include <string>

namespace flagwright::cli {

// Why update --all does not connect to a database the listing showed this login cannot open
// ("no access for this login", "not online (OFFLINE)"); nothing when it is to be run. The
// server's word is shown as names are (DisplayedText.h).
std::optional<std::string> SkipReason(const DatabaseAvailability& availability);

} // namespace flagwright::cli
