#pragma once

#include "cli/ExitCode.h"
#include "cli/JsonLine.h"
#include "platform/Failure.h"
#include "update/DatabaseCheck.h"
#include "update/UpdateRun.h"

#include <string>
#include <string_view>

namespace flagwright::cli {

// The --json lines: one object per database, "database", "command", "outcome" and "exitCode"
// first, then what the command tells of it. The keys are an interface: --help and the README
// list them.

// The words of "outcome".
std::string_view OutcomeWord(RunOutcome outcome);
std::string_view OutcomeWord(CheckOutcome outcome);

// The four members every line begins with; database null when none is meant.
JsonObject DatabaseLine(const std::optional<std::string>& database, std::string_view command,
                        std::string_view outcome, ExitCode exitCode);

// "failure": {"code": N, "sqlState": "..." (null when no driver diagnosed it), "native": N}, or
// null.
JsonObject& AddFailure(JsonObject& line, const std::optional<Failure>& failure);

JsonObject CheckLine(const std::string& database, const CheckReport& report);

// message: the message box of the run, as the window would show it.
JsonObject UpdateLine(const std::string& database, const RunReport& report,
                      const std::string& messageTitle, const std::string& messageText,
                      double seconds);

// {"summary": {...}, "exitCode": N}
std::string SummaryLine(const JsonObject& counts, ExitCode exitCode);

} // namespace flagwright::cli
