#include "cli/ConsoleProgram.h"

#include "cli/HelpText.h"
#include "cli/Reporter.h"
#include "discovery/OfferedDatabases.h"
#include "platform/Console.h"
#include "platform/TextForms.h"

#include <chrono>
#include <ostream>

namespace flagwright::cli {

namespace {
// What every command runs on: the instance the window works with, through the same connection
// factory, and where it tells what it found.
struct Context {
    const ConnectionFactory& newConnection;
    const ConnectionSettings& instance;
    Reporter& reporter;
};

// Why --all does not connect to a database, as the catalog tells it just then: this login
// cannot open it; or, for update --all (writes), it cannot be written, so that every correction
// would fail there. Nothing when it is to be run. The server's word is shown as names are.
std::optional<std::string> SkipReason(const DatabaseAvailability& availability, bool writes)
{
    switch (availability.state) {
    case DatabaseAvailability::State::NoAccess:
        return "no access for this login";
    case DatabaseAvailability::State::NotOnline: {
        std::string reason = "not online ("; // appended to: GCC 12 -Wrestrict
        reason += Displayed(availability.status);
        reason += ')';
        return reason;
    }
    case DatabaseAvailability::State::Restricted:
        return "restricted to its owners and administrators";
    case DatabaseAvailability::State::MayOpen:
        break;
    }
    return writes && availability.readOnly ? std::optional<std::string>("read-only") : std::nullopt;
}

// The databases on offer, or nothing after the reporter was told why.
std::optional<std::vector<OfferedDatabase>> OnOffer(std::string_view command,
                                                    const Context& context)
{
    try {
        return ListOfferedDatabases(context.newConnection, context.instance);
    } catch (const Failure& failure) {
        context.reporter.NotListed(command, failure);
        return std::nullopt;
    }
}

// Checks or updates one database and reports it: readOnly, what the catalog said of it,
// where that was asked; ofAll, whether it is one of --all.
using One = const Outcome& (*)(const std::string& name, std::optional<bool> readOnly, bool ofAll,
                               const Context& context);

const Outcome& CheckOne(const std::string& name, std::optional<bool> readOnly, bool,
                        const Context& context)
{
    RunMessages window;
    CheckReport report = UpdateRun(window, context.newConnection, context.instance).Check(name);
    // Asked only where it decides the outcome: of a database whose flags were read.
    if (report.kindCodes && !readOnly)
        readOnly = AvailabilityNow(context.newConnection, context.instance, name).readOnly;
    if (readOnly.value_or(false))
        TakeReadOnly(report);
    Told told(name, OutcomeOf(report.outcome), &window);
    told.check = &report;
    context.reporter.Tell(told);
    return told.outcome;
}

// A run of its own: nothing of one database's run, its connection included, outlives it.
const Outcome& UpdateOne(const std::string& name, std::optional<bool>, bool ofAll,
                         const Context& context)
{
    const auto started = std::chrono::steady_clock::now();
    RunMessages window;
    UpdateRun run(window, context.newConnection, context.instance);
    run.Run(name);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    Told told(name, OutcomeOf(run.Report().outcome), &window);
    told.run = &run.Report();
    told.seconds = took.count();
    told.ofAll = ofAll;
    context.reporter.Tell(told);
    return told.outcome;
}

// What check --all and update --all do: for every database on offer, in turn, ask the catalog
// what it tells of it just then, and either report it skipped, or check or update it; then
// the summary.
int ForEveryDatabase(std::string_view command, One one, const Context& context)
{
    const auto databases = OnOffer(command, context);
    if (!databases)
        return FailedExit;
    Tally tally{command, {}};
    for (const OfferedDatabase& database : *databases) {
        const DatabaseAvailability availability =
            AvailabilityNow(context.newConnection, context.instance, database);
        if (const auto reason = SkipReason(availability, command == "update")) {
            Told told(database.name, Skipped(command));
            told.reason = *reason;
            context.reporter.Tell(told);
            tally.Add(told.outcome);
        } else {
            tally.Add(one(database.name, availability.readOnly, true, context));
        }
    }
    context.reporter.Summary(tally);
    return tally.ExitCode();
}

int Run(const Command& command, const Context& context)
{
    if (command.name == "list") {
        const auto databases = OnOffer(command.name, context);
        for (const OfferedDatabase& database : databases.value_or(std::vector<OfferedDatabase>()))
            context.reporter.Tell(Told(database.name, Offered()));
        return databases ? 0 : FailedExit;
    }
    const One one = command.name == "check" ? CheckOne : UpdateOne;
    if (command.Has(All))
        return ForEveryDatabase(command.name, one, context);
    return one(command.database, std::nullopt, false, context).exitCode;
}
} // namespace

int RunConsoleProgram(const std::vector<std::string>& arguments,
                      const ConnectionFactory& newConnection, const ConnectionSettings& instance,
                      std::ostream& out, std::ostream& err)
{
    const auto parsed = ParseCommandLine(arguments);
    if (const auto* wrong = std::get_if<UsageError>(&parsed)) {
        err << ProgramName << ": " << wrong->reason << "\nTry '" << ProgramName
            << " --help' for the commands.\n";
        return UsageExit;
    }
    const Command& command = std::get<Command>(parsed);
    if (command.name == "--help" || command.name == "--version") {
        out << (command.name == "--help" ? HelpText : FLAGWRIGHT_DISPLAY_VERSION "\n");
        return 0;
    }
    const bool json = command.Has(JsonLines);
    // What must arrive byte for byte (-0's names, JSON Lines), not text for a terminal.
    if (json || command.Has(NulSeparated))
        ExactStandardOutput();
    const std::unique_ptr<Reporter> reporter =
        json ? JsonReporter(out) : TextReporter(out, err, command.Has(NulSeparated));
    const int status = Run(command, {newConnection, instance, *reporter});
    out.flush();
    return status;
}

} // namespace flagwright::cli
