#include "cli/JsonReports.h"

#include "corrections/KindCodeCorrections.h"
#include "platform/Product.h"
#include "update/VersionGate.h"

namespace flagwright::cli {

std::string_view OutcomeWord(RunOutcome outcome)
{
    switch (outcome) {
    case RunOutcome::Updated:
        return "updated";
    case RunOutcome::RefusedByGate:
        return "refused";
    case RunOutcome::NotEmberline:
        return "not-emberline";
    case RunOutcome::NoDatabase:
        return "no-database";
    case RunOutcome::Failed:
        break;
    }
    return "failed";
}

std::string_view OutcomeWord(CheckOutcome outcome)
{
    switch (outcome) {
    case CheckOutcome::WouldUpdate:
        return "would-update";
    case CheckOutcome::UpToDate:
        return "up-to-date";
    case CheckOutcome::Drifted:
        return "drifted";
    case CheckOutcome::ReadOnly:
        return "read-only";
    case CheckOutcome::OtherVersion:
        return "other-version";
    case CheckOutcome::NotEmberline:
        return "not-emberline";
    case CheckOutcome::NoDatabase:
        return "no-database";
    case CheckOutcome::Failed:
        break;
    }
    return "failed";
}

JsonObject DatabaseLine(const std::optional<std::string>& database, std::string_view command,
                        std::string_view outcome, ExitCode exitCode)
{
    JsonObject line;
    line.TextOrNull("database", database)
        .Text("command", command)
        .Text("outcome", outcome)
        .Number("exitCode", static_cast<int>(exitCode));
    return line;
}

namespace {
// Null for a failure of the program's own, which no driver diagnosed.
std::optional<std::string> SqlStateOf(const Failure& failure)
{
    if (failure.SqlState().empty())
        return std::nullopt;
    return failure.SqlState();
}
} // namespace

JsonObject& AddFailure(JsonObject& line, const std::optional<Failure>& failure)
{
    if (!failure)
        return line.Null("failure");
    return line.Object("failure", JsonObject()
                                      .Number("code", failure->Number())
                                      .TextOrNull("sqlState", SqlStateOf(*failure))
                                      .Number("native", failure->Native()));
}

JsonObject CheckLine(const std::string& database, const CheckReport& report)
{
    JsonObject line =
        DatabaseLine(database, "check", OutcomeWord(report.outcome), ExitCodeFor(report.outcome));
    line.TextOrNull("version", report.version);
    if (const auto& counts = report.kindCodes)
        line.Object("kindCodes",
                    JsonObject()
                        .Number("table", static_cast<std::int64_t>(counts->table))
                        .Number("present", static_cast<std::int64_t>(counts->present))
                        .Number("corrected", static_cast<std::int64_t>(counts->corrected))
                        .Number("toChange", static_cast<std::int64_t>(counts->toChange))
                        .Number("missing", static_cast<std::int64_t>(counts->missing)));
    else
        line.Null("kindCodes");
    if (report.outcome == CheckOutcome::Failed)
        line.Object("message",
                    JsonObject().Text("title", ApplicationTitle).Text("text", report.message));
    return AddFailure(line, report.failure);
}

JsonObject UpdateLine(const std::string& database, const RunReport& report,
                      const std::string& messageTitle, const std::string& messageText,
                      double seconds)
{
    JsonObject line =
        DatabaseLine(database, "update", OutcomeWord(report.outcome), ExitCodeFor(report.outcome));
    line.TextOrNull("versionBefore", report.versionBefore);
    if (report.stamped)
        line.Text("versionAfter", UpdatedVersion);
    else
        line.Null("versionAfter");
    line.Number("corrections", static_cast<std::int64_t>(report.corrections));
    if (report.failure && report.writing && report.corrections < KindCodeCorrectionCount)
        line.Object("stoppedAt",
                    JsonObject()
                        .Number("index", static_cast<std::int64_t>(report.corrections + 1))
                        .Text("kindCode", KindCodeCorrections[report.corrections].KindCode));
    else
        line.Null("stoppedAt");
    line.Object("message", JsonObject().Text("title", messageTitle).Text("text", messageText));
    AddFailure(line, report.failure);
    return line.Seconds("seconds", seconds);
}

std::string SummaryLine(const JsonObject& counts, ExitCode exitCode)
{
    return JsonObject()
        .Object("summary", counts)
        .Number("exitCode", static_cast<int>(exitCode))
        .Line();
}

} // namespace flagwright::cli
