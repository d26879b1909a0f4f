#include "Commands.h"

#include "CommandLine.h"
#include "ConsoleWindowServices.h"
#include "DisplayedText.h"
#include "OfferedDatabases.h"
#include "UpdateRun.h"

#include <optional>
#include <ostream>

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

// The databases on offer; nothing, after saying why on err, when they cannot be listed: an
// unreachable instance is a failure here, not an empty list.
std::optional<std::vector<std::string>> Listed(const ConnectionFactory& newConnection,
                                               const ConnectionSettings& instance,
                                               std::ostream& err)
{
    try {
        return ListOfferedDatabases(newConnection, instance);
    } catch (const Failure& failure) {
        err << ProgramName
            << ": the databases could not be listed: " << Displayed(failure.Description())
            << std::endl;
        return std::nullopt;
    }
}
} // namespace

ExitCode ListDatabases(const ConnectionFactory& newConnection, const ConnectionSettings& instance,
                       bool nulSeparated, std::ostream& out, std::ostream& err)
{
    const auto names = Listed(newConnection, instance, err);
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
    const auto names = Listed(newConnection, instance, err);
    if (!names)
        return ExitCode::Failed;
    Tally tally;
    for (const std::string& name : *names) {
        const std::string shown = Displayed(name);
        // A run of its own: nothing of one database's run, its connection included, outlives it.
        ConsoleWindowServices console(err, err, shown + ": ");
        UpdateRun run(console, newConnection, instance);
        const std::string outcome = Tallied(run.Run(name), tally);
        // Flushed, so that in a joint log the line follows the run's own message.
        out << shown << ": " << outcome << std::endl;
    }
    out << tally.updated << " updated, " << tally.skipped << " skipped, " << tally.failed
        << " failed" << std::endl;
    return tally.failed == 0 ? ExitCode::Success : ExitCode::Failed;
}

} // namespace flagwright::cli
