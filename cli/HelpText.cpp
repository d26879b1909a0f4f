#include "cli/HelpText.h"

#include "cli/CommandLine.h"

#include <algorithm>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace flagwright::cli {

namespace {
constexpr const char* About = R"(
Corrects the kind code table of Emberline databases at version 14.01.03 on the
local instance (local)\emberline2 and stamps them 14.01.04, as the Flagwright
window does, without a window.

)";

constexpr const char* Outputs = R"(
update NAME prints the run's message as TITLE: TEXT (a line break in TEXT goes
on in an indented line): on stdout when the update succeeded, then how long it
took; else on stderr, and for a run that had begun to write, at which
correction it stopped, that the version was not changed and that running
update again is safe.
update --all prints NAME: OUTCOME for each database and then a summary line on
stdout; the messages of the runs go to stderr, each line led by NAME: .
check prints NAME: FOUND (check --all: for each database, then a summary line)
on stdout, FOUND one of
  would be updated (14.01.03): T of 791 to change, C already corrected, M
    missing
  up to date (14.01.04): ...     drifted (14.01.04): ...
  read-only (V): ...             (the database cannot be written)
  at another version (V): an update would refuse it
  not an Emberline database      failed (the message on stderr, led by NAME: )
The --all forms do not connect to a database this login cannot open:
  NAME: skipped, no access for this login
  NAME: skipped, not online (STATE)     STATE: the server's word, e.g. OFFLINE
  NAME: skipped, restricted to its owners and administrators
and update --all not to one that cannot be written: NAME: skipped, read-only
Printed on a line, a name shows its control characters as \t, \n, \r, \xHH (the
other C0 controls, DEL, and bytes that are not UTF-8) and \u0080 to \u009F.

--json prints JSON Lines instead (UTF-8, one object per line, on stdout only).
Every line has "database", "command", "outcome" and "exitCode"; a skipped
database also "reason".
  check adds "version", "kindCodes" ({"table", "present", "corrected",
    "toChange", "missing"}, or null when not read) and "failure"; a failed
    check also "message".
  update adds "versionBefore", "versionAfter" (null when not stamped),
    "corrections" (completed without error), "stoppedAt" (null, or {"index",
    "kindCode"}), "message" ({"title", "text"}: the window's message),
    "failure" (null, or {"code", "sqlState", "native"}) and "seconds".
  --all ends with {"summary": {COUNT: N, ...}, "exitCode": N}.
  When the databases cannot be listed: "database" null, "outcome" "failed",
  "error" and "failure".
Outcomes:
  list     offered
  check    would-update, up-to-date, drifted, read-only, other-version,
           not-emberline, no-database, failed, skipped
  update   updated, refused, not-emberline, no-database, failed, skipped

Exit codes:
)";

constexpr std::size_t Columns = 79;  // short of the last column of an 80-column terminal
constexpr const char* Indent = "  "; // before each command and each exit code

// The command as it is typed: "update NAME", "update --all".
std::string Typed(const CommandEntry& entry)
{
    std::string typed(entry.name);
    if (!entry.form.empty())
        typed.append(" ").append(entry.form);
    if (entry.takesName)
        typed += " NAME";
    return typed;
}

// Each command's forms with their options, then the program options, one a line.
std::string Usage()
{
    std::vector<std::string> synopses;
    for (const CommandEntry& entry : CommandTable()) {
        std::string synopsis = Typed(entry);
        for (const CommandOption& option : entry.options)
            synopsis.append(" [").append(option.name).append("]");
        synopses.push_back(synopsis);
    }
    std::string programOptions;
    for (const ProgramOption& option : ProgramOptions())
        programOptions.append(programOptions.empty() ? "" : " | ").append(option.names.front());
    synopses.push_back(programOptions);
    const std::string lead = "Usage: ";
    std::string usage;
    for (const std::string& synopsis : synopses)
        usage.append(usage.empty() ? lead : std::string(lead.size(), ' '))
            .append(ProgramName)
            .append(" ")
            .append(synopsis)
            .append("\n");
    return usage;
}

// One row of the commands' table: what is typed, in a column of its own, then the help text,
// wrapped to Columns and continued under itself.
std::string Row(const std::string& typed, std::string_view help, std::size_t column)
{
    std::string line = Indent + typed;
    line.resize(column, ' ');
    std::string row;
    bool lineHasWord = false;
    std::istringstream words{std::string(help)};
    for (std::string word; words >> word; lineHasWord = true) {
        if (lineHasWord && line.size() + 1 + word.size() > Columns) {
            row += line + '\n';
            line.assign(column, ' ');
            lineHasWord = false;
        }
        if (lineHasWord)
            line += ' ';
        line += word;
    }
    return row + line + '\n';
}

// A row for each form of a command and one for each of its options, the help texts in one
// column.
std::string CommandRows()
{
    std::vector<std::pair<std::string, std::string_view>> rows;
    for (const CommandEntry& entry : CommandTable()) {
        rows.emplace_back(Typed(entry), entry.help);
        for (const CommandOption& option : entry.options)
            rows.emplace_back(Typed(entry).append(" ").append(option.name), option.help);
    }
    std::size_t widest = 0;
    for (const auto& row : rows)
        widest = std::max(widest, row.first.size());
    std::string text;
    for (const auto& [typed, help] : rows)
        text += Row(typed, help, std::char_traits<char>::length(Indent) + widest + 2);
    return text;
}

// An exit code and its meaning, wrapped as the commands' rows are.
std::string Line(ExitCode code, std::string_view meaning)
{
    return Row(std::to_string(static_cast<int>(code)), meaning,
               std::char_traits<char>::length(Indent) + 3);
}
} // namespace

std::string HelpText()
{
    return Usage() + About + CommandRows() + Outputs +
           Line(ExitCode::Success, "updated; check: would be updated, or up to date (--all: no "
                                   "database failed, and for check none drifted)") +
           Line(ExitCode::Failed, "the update or check failed, the databases could not be "
                                  "listed, or the output could not be written (--all: also when "
                                  "a database failed)") +
           Line(ExitCode::Usage, "bad arguments; nothing was connected") +
           Line(ExitCode::RefusedByGate, "the database is not at version 14.01.03; unchanged "
                                         "(check: at a version other than 14.01.03 and "
                                         "14.01.04)") +
           Line(ExitCode::NotEmberline, "not an Emberline database; unchanged") +
           Line(ExitCode::NoDatabase, "no database given (an empty NAME)") +
           Line(ExitCode::Drifted, "check: at 14.01.04, but a kind code no longer holds its "
                                   "corrected flags (check --all: one drifted, none failed)") +
           Line(ExitCode::ReadOnly, "check: at 14.01.03 or 14.01.04, but the database cannot be "
                                    "written (read-only, a standby copy or a snapshot)");
}

} // namespace flagwright::cli
