#include "cli/Commands.h"

#include "cli/CommandLine.h"
#include "cli/ConsoleWindowServices.h"
#include "cli/DisplayedText.h"
#include "cli/HelpText.h"
#include "cli/SkipReason.h"
#include "discovery/OfferedDatabases.h"
#include "update/UpdateRun.h"

#include <optional>
#include <ostream>
#include <type_traits>

namespace flagwright::cli {

namespace {
struct Tally {
    int updated = 0;
    int skipped = 0;
    int failed = 0;
};

// Counts the outcome and says it in a few words.
std::string Tallied(RunOutcome outcome, Tally& tally)
{
    switch (outcome) {
    case RunOutcome::Updated:
        ++tally.updated;
        return "updated";
    case RunOutcome::RefusedByGate:
        ++tally.skipped;
        return "skipped, not at version 14.01.03";
    case RunOutcome::NotEmberline:
        ++tally.skipped;
        return "skipped, not an Emberline database";
    case RunOutcome::NoDatabase:
    case RunOutcome::Failed:
        break;
    }
    ++tally.failed;
    return "failed";
}

// The databases on offer as list() gives them; nothing, after saying why on err, when they
// cannot be listed: an unreachable instance is a failure here, not an empty list.
template <typename Listing>
std::optional<std::invoke_result_t<Listing>> Listed(const Listing& list, std::ostream& err)
{
    try {
        return list();
    } catch (const Failure& failure) {
        err << ProgramName
            << ": the databases could not be listed: " << Displayed(failure.Description())
            << std::endl;
        return std::nullopt;
    }
}

// One database of update --all: skipped without connecting when the listing showed that this
// login cannot open it, else its own run; counted, and said in a few words.
std::string UpdatedOrSkipped(const OfferedDatabase& database, const CommandContext& context,
                             Tally& tally)
{
    if (const std::optional<std::string> reason = SkipReason(database.availability)) {
        ++tally.skipped;
        return "skipped, " + *reason;
    }
    // A run of its own: nothing of one database's run, its connection included, outlives it.
    ConsoleWindowServices console(context.err, context.err, Displayed(database.name) + ": ");
    UpdateRun run(console, context.newConnection, context.instance);
    return Tallied(run.Run(database.name), tally);
}
} // namespace

ExitCode ShowHelp(const Command&, const CommandContext& context)
{
    context.out << HelpText();
    return ExitCode::Success;
}

ExitCode ShowVersion(const Command&, const CommandContext& context)
{
    context.out << FLAGWRIGHT_DISPLAY_VERSION << '\n';
    return ExitCode::Success;
}

ExitCode ListDatabases(const Command& command, const CommandContext& context)
{
    const auto names = Listed(
        [&] { return ListOfferedDatabases(context.newConnection, context.instance); }, context.err);
    if (!names)
        return ExitCode::Failed;
    for (const std::string& name : *names) {
        if (command.Has(NulSeparated))
            context.out << name << '\0';
        else
            context.out << Displayed(name) << '\n';
    }
    context.out.flush();
    return ExitCode::Success;
}

ExitCode UpdateDatabase(const Command& command, const CommandContext& context)
{
    ConsoleWindowServices console(context.out, context.err);
    UpdateRun run(console, context.newConnection, context.instance);
    return ExitCodeFor(run.Run(command.database));
}

ExitCode UpdateAllDatabases(const Command&, const CommandContext& context)
{
    const auto databases = Listed(
        [&] {
            return ListOfferedDatabasesWithAvailability(context.newConnection, context.instance);
        },
        context.err);
    if (!databases)
        return ExitCode::Failed;
    Tally tally;
    for (const OfferedDatabase& database : *databases) {
        const std::string outcome = UpdatedOrSkipped(database, context, tally);
        // Flushed, so that in a joint log the line follows the run's own message.
        context.out << Displayed(database.name) << ": " << outcome << std::endl;
    }
    context.out << tally.updated << " updated, " << tally.skipped << " skipped, " << tally.failed
                << " failed" << std::endl;
    return tally.failed == 0 ? ExitCode::Success : ExitCode::Failed;
}

} // namespace flagwright::cli
