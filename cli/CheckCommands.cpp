#include "cli/Commands.h"

#include "cli/ConsoleWindowServices.h"
#include "cli/DisplayedText.h"
#include "cli/EveryDatabase.h"
#include "cli/JsonReports.h"
#include "cli/SkipReason.h"

#include <ostream>

namespace flagwright::cli {

namespace {
// "392 of 791 to change, 399 already corrected, 0 missing"
std::string Counts(const KindCodeCounts& counts)
{
    return std::to_string(counts.toChange) + " of " + std::to_string(counts.table) +
           " to change, " + std::to_string(counts.corrected) + " already corrected, " +
           std::to_string(counts.missing) + " missing";
}

// What the check found, in a few words, for the line after the name.
std::string Found(const CheckReport& report)
{
    const std::string version = report.version ? Displayed(*report.version) : std::string();
    switch (report.outcome) {
    case CheckOutcome::WouldUpdate:
        return "would be updated (" + version + "): " + Counts(*report.kindCodes);
    case CheckOutcome::UpToDate:
        return "up to date (" + version + "): " + Counts(*report.kindCodes);
    case CheckOutcome::Drifted:
        return "drifted (" + version + "): " + Counts(*report.kindCodes);
    case CheckOutcome::ReadOnly:
        return "read-only (" + version + "): " + Counts(*report.kindCodes);
    case CheckOutcome::OtherVersion:
        return "at another version (" + version + "): an update would refuse it";
    case CheckOutcome::NotEmberline:
        return "not an Emberline database";
    case CheckOutcome::NoDatabase:
        return "no database given";
    case CheckOutcome::Failed:
        break;
    }
    return "failed";
}

// Checks the database and tells what it found: under --json as its line; else a line on out
// and, for a failure, the message an update run would show, on err, both led by the name.
// readOnly: whether the catalog says the database cannot be written, where that is known.
CheckOutcome CheckOne(const std::string& name, std::optional<bool> readOnly, const Command& command,
                      const CommandContext& context)
{
    CheckReport report = CheckDatabase(context.newConnection, context.instance, name);
    // Asked only where it decides the outcome: of a database whose flags were read.
    if (report.kindCodes && !readOnly)
        readOnly = AvailabilityNow(context.newConnection, context.instance, name).readOnly;
    if (readOnly.value_or(false))
        TakeReadOnly(report);
    if (command.Has(JsonLines)) {
        context.out << CheckLine(name, report).Line() << std::endl;
        return report.outcome;
    }
    const std::string prefix = Displayed(name) + ": ";
    if (report.outcome == CheckOutcome::Failed)
        ConsoleWindowServices(context.err, context.err, prefix)
            .MsgBox(report.message, MsgBoxStyle::Exclamation);
    context.out << prefix << Found(report) << std::endl;
    return report.outcome;
}

struct Tally {
    int wouldUpdate = 0;
    int upToDate = 0;
    int drifted = 0;
    int readOnly = 0;
    int otherVersion = 0;
    int notEmberline = 0;
    int skipped = 0;
    int failed = 0;

    void Count(CheckOutcome outcome)
    {
        switch (outcome) {
        case CheckOutcome::WouldUpdate:
            ++wouldUpdate;
            return;
        case CheckOutcome::UpToDate:
            ++upToDate;
            return;
        case CheckOutcome::Drifted:
            ++drifted;
            return;
        case CheckOutcome::ReadOnly:
            ++readOnly;
            return;
        case CheckOutcome::OtherVersion:
            ++otherVersion;
            return;
        case CheckOutcome::NotEmberline:
            ++notEmberline;
            return;
        case CheckOutcome::NoDatabase:
        case CheckOutcome::Failed:
            break;
        }
        ++failed;
    }

    ExitCode Exit() const
    {
        if (failed > 0)
            return ExitCode::Failed;
        return drifted > 0 ? ExitCode::Drifted : ExitCode::Success;
    }
};

void Summarise(const Tally& tally, ExitCode exit, const Command& command,
               const CommandContext& context)
{
    if (command.Has(JsonLines))
        context.out << SummaryLine(JsonObject()
                                       .Number("wouldUpdate", tally.wouldUpdate)
                                       .Number("upToDate", tally.upToDate)
                                       .Number("drifted", tally.drifted)
                                       .Number("otherVersion", tally.otherVersion)
                                       .Number("notEmberline", tally.notEmberline)
                                       .Number("readOnly", tally.readOnly)
                                       .Number("skipped", tally.skipped)
                                       .Number("failed", tally.failed),
                                   exit)
                    << std::endl;
    else
        context.out << tally.wouldUpdate << " would be updated, " << tally.upToDate
                    << " up to date, " << tally.drifted << " drifted, " << tally.otherVersion
                    << " at another version, " << tally.notEmberline << " not Emberline, "
                    << tally.readOnly << " read-only, " << tally.skipped << " skipped, "
                    << tally.failed << " failed" << std::endl;
}
} // namespace

ExitCode CheckDatabaseCommand(const Command& command, const CommandContext& context)
{
    return ExitCodeFor(CheckOne(command.database, std::nullopt, command, context));
}

ExitCode CheckAllDatabases(const Command& command, const CommandContext& context)
{
    return ForEveryDatabase<Tally>(
        command, context, SkipReason,
        [&](const std::string& name, const DatabaseAvailability& availability, Tally& tally) {
            tally.Count(CheckOne(name, availability.readOnly, command, context));
        },
        [&](const Tally& tally, ExitCode exit) { Summarise(tally, exit, command, context); });
}

} // namespace flagwright::cli
