#include "cli/Reporter.h"
#include "corrections/KindCodeCorrections.h"
#include "platform/TextForms.h"
#include "update/VersionGate.h"

#include <cstdio>
#include <ostream>
#include <utility>
#include <vector>

namespace flagwright::cli {

namespace {

std::string OrNull(const std::optional<std::string>& text)
{
    return text ? JsonString(*text) : "null";
}
std::string Number(std::int64_t number) { return std::to_string(number); }

// An object's members, each written as JSON, in the order they stand.
using Members = std::vector<std::pair<std::string_view, std::string>>;

std::string Object(const Members& members)
{
    std::string object;
    for (const auto& [key, value] : members)
        object.append(object.empty() ? "{" : ", ").append(JsonString(key) + ": " + value);
    return object + "}";
}

// The four members every line begins with; database null when none is meant.
Members Line(const std::optional<std::string>& database, const Outcome& outcome)
{
    return {{"database", OrNull(database)},
            {"command", JsonString(outcome.command)},
            {"outcome", JsonString(outcome.word)},
            {"exitCode", Number(outcome.exitCode)}};
}

// {"code": N, "sqlState": "..." (null when no driver diagnosed it), "native": N}, or null.
std::string FailureOf(const std::optional<Failure>& failure)
{
    if (!failure)
        return "null";
    const std::string& state = failure->SqlState();
    return Object({{"code", Number(failure->Number())},
                   {"sqlState", state.empty() ? "null" : JsonString(state)},
                   {"native", Number(failure->Native())}});
}

std::string Message(const RunMessages& box)
{
    return Object({{"title", JsonString(box.title)}, {"text", JsonString(box.text)}});
}

std::string Count(std::size_t count) { return Number(static_cast<std::int64_t>(count)); }

class Json : public Reporter {
public:
    explicit Json(std::ostream& out) : out_(out) {}

    void Tell(const Told& told) override
    {
        Members line = Line(told.name, told.outcome);
        if (!told.reason.empty())
            line.emplace_back("reason", JsonString(told.reason));
        if (const CheckReport* check = told.check) {
            const auto& kinds = check->kindCodes;
            line.insert(line.end(),
                        {{"version", OrNull(check->version)},
                         {"kindCodes", !kinds ? "null"
                                              : Object({{"table", Count(kinds->table)},
                                                        {"present", Count(kinds->present)},
                                                        {"corrected", Count(kinds->corrected)},
                                                        {"toChange", Count(kinds->toChange)},
                                                        {"missing", Count(kinds->missing)}})}});
            if (check->outcome == CheckOutcome::Failed)
                line.emplace_back("message", Message(*told.window));
            line.emplace_back("failure", FailureOf(check->failure));
        }
        if (const RunReport* run = told.run) {
            const auto stop = StoppedAt(*run);
            char seconds[32];
            std::snprintf(seconds, sizeof seconds, "%.3f", told.seconds); // to the millisecond
            line.insert(
                line.end(),
                {{"versionBefore", OrNull(run->versionBefore)},
                 {"versionAfter", run->stamped ? JsonString(UpdatedVersion) : "null"},
                 {"corrections", Count(run->corrections)},
                 {"stoppedAt",
                  !stop ? "null"
                        : Object({{"index", Count(*stop + 1)},
                                  {"kindCode", JsonString(KindCodeCorrections[*stop].KindCode)}})},
                 {"message", Message(*told.window)},
                 {"failure", FailureOf(run->failure)},
                 {"seconds", seconds}});
        }
        Write(line);
    }

    void NotListed(std::string_view command, const Failure& failure) override
    {
        Members line = Line(std::nullopt, {command, "failed", FailedExit, "", ""});
        line.insert(
            line.end(),
            {{"error", JsonString("the databases could not be listed: " + failure.Description())},
             {"failure", FailureOf(failure)}});
        Write(line);
        if (command != "list") // an --all form ends with its summary all the same
            Summary(Tally{command, {}}, FailedExit);
    }

    void Summary(const Tally& tally) override { Summary(tally, tally.ExitCode()); }

private:
    void Write(const Members& line) { out_ << Object(line) << std::endl; }

    void Summary(const Tally& tally, int exitCode)
    {
        Members counts;
        for (const SummaryCount& count : SummaryCounts(tally.command))
            counts.emplace_back(count.key, Number(tally.Count(count.key)));
        Write({{"summary", Object(counts)}, {"exitCode", Number(exitCode)}});
    }

    std::ostream& out_;
};
} // namespace

std::unique_ptr<Reporter> JsonReporter(std::ostream& out) { return std::make_unique<Json>(out); }

} // namespace flagwright::cli
