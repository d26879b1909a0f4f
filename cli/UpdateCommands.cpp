#include "cli/Commands.h"

#include "cli/ConsoleWindowServices.h"
#include "cli/DisplayedText.h"
#include "cli/EveryDatabase.h"
#include "cli/JsonReports.h"
#include "cli/RecordingWindowServices.h"
#include "cli/SkipReason.h"
#include "corrections/KindCodeCorrections.h"

#include <chrono>
#include <cstdio>
#include <ostream>

namespace flagwright::cli {

namespace {
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// What the console adds to the message of a run that failed after it had begun to write: the
// window's message says nothing of what stayed applied.
std::vector<std::string> WhereItStopped(const RunReport& report)
{
    if (!report.failure || !report.writing)
        return {};
    std::string stop;
    if (report.corrections < KindCodeCorrectionCount) {
        stop = "The run stopped at correction " + std::to_string(report.corrections + 1) + " of " +
               std::to_string(KindCodeCorrectionCount) + " (kind code ";
        stop.append(KindCodeCorrections[report.corrections].KindCode)
            .append("); the ")
            .append(std::to_string(report.corrections))
            .append(" before it stayed applied.");
    } else {
        stop = "The run stopped after all " + std::to_string(KindCodeCorrectionCount) +
               " corrections, as it stamped the version.";
    }
    return {stop + " The version was not changed.",
            "Running update again is safe: it applies the whole table."};
}

std::string Took(double seconds)
{
    char text[48];
    std::snprintf(text, sizeof text, "Took %.2f s.", seconds);
    return text;
}

// One run on the database, told as the command tells it: under --json as its line on out;
// else the run's message, then where a failed run stopped or how long a run that succeeded
// took. Of update --all (ofAll), everything but the line goes to err, led by the name.
RunOutcome UpdateOne(const std::string& name, const Command& command, const CommandContext& context,
                     bool ofAll)
{
    const Clock::time_point started = Clock::now();
    if (command.Has(JsonLines)) {
        RecordingWindowServices window;
        UpdateRun run(window, context.newConnection, context.instance);
        const RunOutcome outcome = run.Run(name);
        context.out << UpdateLine(name, run.Report(), window.Title(), window.Text(),
                                  SecondsSince(started))
                           .Line()
                    << std::endl;
        return outcome;
    }
    const std::string prefix = ofAll ? Displayed(name) + ": " : std::string();
    std::ostream& report = ofAll ? context.err : context.out;
    // A run of its own: nothing of one database's run, its connection included, outlives it.
    ConsoleWindowServices console(report, context.err, prefix);
    UpdateRun run(console, context.newConnection, context.instance);
    const RunOutcome outcome = run.Run(name);
    if (outcome == RunOutcome::Updated)
        report << prefix << Took(SecondsSince(started)) << std::endl;
    for (const std::string& line : WhereItStopped(run.Report()))
        context.err << prefix << "  " << line << std::endl; // as the message's own lines go on
    return outcome;
}

struct Tally {
    int updated = 0;
    int skipped = 0;
    int failed = 0;

    // Counts the outcome and says it in a few words.
    std::string Counted(RunOutcome outcome)
    {
        switch (outcome) {
        case RunOutcome::Updated:
            ++updated;
            return "updated";
        case RunOutcome::RefusedByGate:
            ++skipped;
            return "skipped, not at version 14.01.03";
        case RunOutcome::NotEmberline:
            ++skipped;
            return "skipped, not an Emberline database";
        case RunOutcome::NoDatabase:
        case RunOutcome::Failed:
            break;
        }
        ++failed;
        return "failed";
    }

    ExitCode Exit() const { return failed == 0 ? ExitCode::Success : ExitCode::Failed; }
};

void Summarise(const Tally& tally, ExitCode exit, const Command& command,
               const CommandContext& context)
{
    if (command.Has(JsonLines))
        context.out << SummaryLine(JsonObject()
                                       .Number("updated", tally.updated)
                                       .Number("skipped", tally.skipped)
                                       .Number("failed", tally.failed),
                                   exit)
                    << std::endl;
    else
        context.out << tally.updated << " updated, " << tally.skipped << " skipped, "
                    << tally.failed << " failed" << std::endl;
}
} // namespace

ExitCode UpdateDatabase(const Command& command, const CommandContext& context)
{
    return ExitCodeFor(UpdateOne(command.database, command, context, false));
}

ExitCode UpdateAllDatabases(const Command& command, const CommandContext& context)
{
    return ForEveryDatabase<Tally>(
        command, context, UpdateSkipReason,
        [&](const std::string& name, const DatabaseAvailability&, Tally& tally) {
            const std::string outcome = tally.Counted(UpdateOne(name, command, context, true));
            // Flushed, so that in a joint log the line follows the run's own message.
            if (!command.Has(JsonLines))
                context.out << Displayed(name) << ": " << outcome << std::endl;
        },
        [&](const Tally& tally, ExitCode exit) { Summarise(tally, exit, command, context); });
}

} // namespace flagwright::cli
