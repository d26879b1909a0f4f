#include "cli/Outcomes.h"

#include <algorithm>
#include <utility>

namespace flagwright::cli {

namespace {
// clang-format off
const std::pair<RunOutcome, Outcome> Updates[] = {
    {RunOutcome::Updated,       {"update", "updated",       0, "updated", "updated"}},
    {RunOutcome::RefusedByGate, {"update", "refused",       3, "skipped", "skipped, not at version 14.01.03"}},
    {RunOutcome::NotEmberline,  {"update", "not-emberline", 4, "skipped", "skipped, not an Emberline database"}},
    {RunOutcome::NoDatabase,    {"update", "no-database",   5, "failed",  "failed"}},
    {RunOutcome::Failed,        {"update", "failed",        1, "failed",  "failed"}},
};
const std::pair<CheckOutcome, Outcome> Checks[] = {
    {CheckOutcome::WouldUpdate,  {"check", "would-update",  0, "wouldUpdate",  "would be updated ({version}): {counts}"}},
    {CheckOutcome::UpToDate,     {"check", "up-to-date",    0, "upToDate",     "up to date ({version}): {counts}"}},
    {CheckOutcome::Drifted,      {"check", "drifted",       6, "drifted",      "drifted ({version}): {counts}"}},
    {CheckOutcome::ReadOnly,     {"check", "read-only",     7, "readOnly",     "read-only ({version}): {counts}"}},
    {CheckOutcome::OtherVersion, {"check", "other-version", 3, "otherVersion", "at another version ({version}): an update would refuse it"}},
    {CheckOutcome::NotEmberline, {"check", "not-emberline", 4, "notEmberline", "not an Emberline database"}},
    {CheckOutcome::NoDatabase,   {"check", "no-database",   5, "failed",       "no database given"}},
    {CheckOutcome::Failed,       {"check", "failed",        1, "failed",       "failed"}},
};
const Outcome SkippedByCheck{"check",   "skipped", 0, "skipped", "skipped, {reason}"};
const Outcome SkippedByUpdate{"update", "skipped", 0, "skipped", "skipped, {reason}"};
const Outcome OfferedByList{"list",     "offered", 0, "",        ""};

const std::vector<SummaryCount> CheckCounts = {
    {"wouldUpdate", "would be updated", 0}, {"upToDate", "up to date", 0},
    {"drifted", "drifted", 6},              {"otherVersion", "at another version", 0},
    {"notEmberline", "not Emberline", 0},   {"readOnly", "read-only", 0},
    {"skipped", "skipped", 0},              {"failed", "failed", 1},
};
const std::vector<SummaryCount> UpdateCounts = {
    {"updated", "updated", 0}, {"skipped", "skipped", 0}, {"failed", "failed", 1},
};
// clang-format on

template <typename Rows, typename Key>
const Outcome& Row(const Rows& rows, Key key)
{
    return std::find_if(std::begin(rows), std::end(rows),
                        [&](const auto& row) { return row.first == key; })
        ->second;
}
} // namespace

const Outcome& OutcomeOf(RunOutcome outcome) { return Row(Updates, outcome); }
const Outcome& OutcomeOf(CheckOutcome outcome) { return Row(Checks, outcome); }
const Outcome& Skipped(std::string_view command)
{
    return command == "check" ? SkippedByCheck : SkippedByUpdate;
}
const Outcome& Offered() { return OfferedByList; }

const std::vector<SummaryCount>& SummaryCounts(std::string_view command)
{
    return command == "check" ? CheckCounts : UpdateCounts;
}

int Tally::Count(std::string_view key) const
{
    const auto counted = counts.find(key);
    return counted == counts.end() ? 0 : counted->second;
}

int Tally::ExitCode() const
{
    int exitCode = 0;
    for (const SummaryCount& count : SummaryCounts(command))
        if (count.exitCode != 0 && Count(count.key) > 0 &&
            (exitCode == 0 || count.exitCode < exitCode))
            exitCode = count.exitCode;
    return exitCode;
}

} // namespace flagwright::cli
