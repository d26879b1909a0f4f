#include "Commands.h"

#include "CommandLine.h"
#include "ConsoleWindowServices.h"
#include "DisplayedText.h"
#include "OfferedDatabases.h"
#include "SkipReason.h"
#include "UpdateRun.h"

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
std::string UpdatedOrSkipped(const OfferedDatabase& database,
                             const ConnectionFactory& newConnection,
                             const ConnectionSettings& instance, std::ostream& err, Tally& tally)
{
    if (const std::optional<std::string> reason = SkipReason(database.availability)) {
        ++tally.skipped;
        return "skipped, " + *reason;
    }
    // A run of its own: nothing of one database's run, its connection included, outlives it.
    ConsoleWindowServices console(err, err, Displayed(database.name) + ": ");
    UpdateRun run(console, newConnection, instance);
    return Tallied(run.Run(database.name), tally);
}
} // namespace

ExitCode ListDatabases(const ConnectionFactory& newConnection, const ConnectionSettings& instance,
                       bool nulSeparated, std::ostream& out, std::ostream& err)
{
    const auto names = Listed([&] { return ListOfferedDatabases(newConnection, instance); }, err);
    if (!names)
        return ExitCode::Failed;
    for (const std::string& name : *names) {
        if (nulSeparated)
            out << name << '\0';
        else
            out << Displayed(name) << '\n';
    }
    out.flush();
    return ExitCode::Success;
}

ExitCode UpdateDatabase(const std::string& name, const ConnectionFactory& newConnection,
                        const ConnectionSettings& instance, std::ostream& out, std::ostream& err)
{
    ConsoleWindowServices console(out, err);
    UpdateRun run(console, newConnection, instance);
    return ExitCodeFor(run.Run(name));
}

ExitCode UpdateAllDatabases(const ConnectionFactory& newConnection,
                            const ConnectionSettings& instance, std::ostream& out,
                            std::ostream& err)
{
    const auto databases =
        Listed([&] { return ListOfferedDatabasesWithAvailability(newConnection, instance); }, err);
    if (!databases)
        return ExitCode::Failed;
    Tally tally;
    for (const OfferedDatabase& database : *databases) {
        const std::string outcome = UpdatedOrSkipped(database, newConnection, instance, err, tally);
        // Flushed, so that in a joint log the line follows the run's own message.
        out << Displayed(database.name) << ": " << outcome << std::endl;
    }
    out << tally.updated << " updated, " << tally.skipped << " skipped, " << tally.failed
        << " failed" << std::endl;
    return tally.failed == 0 ? ExitCode::Success : ExitCode::Failed;
}

} // namespace flagwright::cli
