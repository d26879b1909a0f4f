#pragma once

#include "cli/CommandTable.h"
#include "cli/ExitCode.h"
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

// What an --all form does: each(name, tally) for every database on offer that is not skipped,
// then summarise(tally, exit code), Tally counting the skipped and telling the exit code. A list
// that cannot be read is a failure, and under --json still ends with a summary.
template <typename Tally, typename Each, typename Summarise>
ExitCode ForEveryDatabase(const Command& command, const CommandContext& context, Each each,
                          Summarise summarise)
{
    Tally tally;
    const auto databases = OfferedForAll(command, context);
    if (!databases) {
        if (command.Has(JsonLines))
            summarise(tally, ExitCode::Failed);
        return ExitCode::Failed;
    }
    for (const OfferedDatabase& database : *databases) {
        if (SkippedAndSaid(database, command, context))
            ++tally.skipped;
        else
            each(database.name, tally);
    }
    summarise(tally, tally.Exit());
    return tally.Exit();
}

} // namespace flagwright::cli
