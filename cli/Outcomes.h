#pragma once

#include "update/UpdateRun.h"

#include <map>
#include <string_view>
#include <vector>

namespace flagwright::cli {

// The exit codes of no database's: bad arguments (nothing was connected), and a failure of the
// program's own (the databases could not be listed, the output could not be written).
inline constexpr int UsageExit = 2;
inline constexpr int FailedExit = 1;

// What a command tells of one database: every output and the summaries read it from here.
struct Outcome {
    std::string_view command; // list, check or update
    std::string_view word;    // --json's "outcome"
    int exitCode;             // of the command on this database alone
    std::string_view count;   // the summary's count it adds to
    // After "NAME: " in text; {version}: the version row, {counts}: how the kind codes stand,
    // {reason}: why the database was skipped.
    std::string_view text;
};

const Outcome& OutcomeOf(RunOutcome outcome);
const Outcome& OutcomeOf(CheckOutcome outcome);
const Outcome& Skipped(std::string_view command); // by --all, not connected to
const Outcome& Offered();                         // by list

// One count of an --all summary: its JSON key, its words in the text line, and the exit code
// of the whole --all when it is not 0 (the lowest such code wins: a failure over a drift).
struct SummaryCount {
    std::string_view key;
    std::string_view words;
    int exitCode;
};
const std::vector<SummaryCount>& SummaryCounts(std::string_view command);

// The outcomes of an --all, counted.
struct Tally {
    std::string_view command;
    std::map<std::string_view, int> counts;

    void Add(const Outcome& outcome) { ++counts[outcome.count]; }
    int Count(std::string_view key) const;
    int ExitCode() const;
};

} // namespace flagwright::cli
