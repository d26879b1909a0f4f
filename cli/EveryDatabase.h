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
std::optional<std::vector<OfferedDatabase>> OfferedDatabasesOrSaid(const Command& command,
                                                                   const CommandContext& context);

// True, after its line ("NAME: skipped, REASON", or under --json outcome "skipped" with the
// reason), when there is a reason not to connect to the database.
bool SkippedAndSaid(const std::string& name, const std::optional<std::string>& reason,
                    const Command& command, const CommandContext& context);

// What an --all form does: for every database on offer, in turn, asks the catalog what it
// tells of it just then (AvailabilityNow), and then either skips it, for skipReason(it), or
// calls each(name, it, tally); then summarise(tally, exit code), Tally counting the skipped
// and telling the exit code. A list that cannot be read is a failure, and under --json still
// ends with a summary.
template <typename Tally, typename SkipRule, typename Each, typename Summarise>
ExitCode ForEveryDatabase(const Command& command, const CommandContext& context,
                          SkipRule skipReason, Each each, Summarise summarise)
{
    Tally tally;
    const auto databases = OfferedDatabasesOrSaid(command, context);
    if (!databases) {
        if (command.Has(JsonLines))
            summarise(tally, ExitCode::Failed);
        return ExitCode::Failed;
    }
    for (const OfferedDatabase& database : *databases) {
        const DatabaseAvailability availability =
            AvailabilityNow(context.newConnection, context.instance, database);
        if (SkippedAndSaid(database.name, skipReason(availability), command, context))
            ++tally.skipped;
        else
            each(database.name, availability, tally);
    }
    summarise(tally, tally.Exit());
    return tally.Exit();
}

} // namespace flagwright::cli
