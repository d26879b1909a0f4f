#pragma once

#include "cli/CommandTable.h"
#include "discovery/OfferedDatabases.h"

#include <optional>
#include <string>
#include <vector>

namespace flagwright::cli {

// What list, check --all and update --all share: the databases on offer, and those of them
// that --all does not connect to.

// The databases the window offers; nothing, after saying why, when they cannot be listed (an
// unreachable instance is a failure here, not an empty list): on err, or under --json as the
// command's line on out, its database null.
std::optional<std::vector<std::string>> OfferedNames(const Command& command,
                                                     const CommandContext& context);

// The same databases, each with whether this login can open it.
std::optional<std::vector<OfferedDatabase>> OfferedForAll(const Command& command,
                                                          const CommandContext& context);

// True, after its line ("NAME: skipped, REASON", or under --json outcome "skipped" with the
// reason), for a database the listing showed this login cannot open: it is not connected to.
bool SkippedAndSaid(const OfferedDatabase& database, const Command& command,
                    const CommandContext& context);

} // namespace flagwright::cli
