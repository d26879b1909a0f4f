#pragma once

#include "platform/Failure.h"

#include <string>
#include <vector>

namespace flagwright::odbc {

// One ODBC diagnostic record as SQLGetDiagRec returns it.
struct DiagnosticRecord {
    std::string sqlState;
    int nativeError = 0;
    std::string message;
};

enum class OdbcCall { Connect, Execute };

// What the program is told about a failed ODBC call: decided from the native numbers and
// SQLSTATEs of all records (in any order), what was being done, and whether the link is now
// dead; never from message wording. The description is the deciding record's text without
// the "[vendor][component]" prefixes, or a fixed text when no server spoke.
Failure FailureFromDiagnostics(const std::vector<DiagnosticRecord>& records, OdbcCall call,
                               bool connectionDead);

// For a failed call that its deadline stepped into: whether the records are only what the
// cancel or the broken link leave (or none at all), so the deadline ended the call. An answer
// of the server's or the driver's own among them (a login refusal, 4060, 208, the driver's
// own HYT00) arrived first, and is the call's outcome.
bool EndedByDeadline(const std::vector<DiagnosticRecord>& records);

// Whether a login that failed with these records leaves another driver a chance: this one
// could not be loaded, reach the instance or speak its version, so no message of the server's
// came back. Whatever the server answered (a refused login, a database that cannot be opened,
// a server in script upgrade mode) is the same for every driver.
bool AnotherDriverMayReach(const std::vector<DiagnosticRecord>& records);

// A server that cannot be found or reached before any driver is involved, worded as the
// provider words it.
Failure UnreachableServer();

// The description with every occurrence of secret masked, for texts that could echo a
// connection string.
Failure WithoutSecret(const Failure& failure, const std::string& secret);

// Message text without leading "[...]" groups.
std::string WithoutDriverPrefix(const std::string& message);

} // namespace flagwright::odbc
