#pragma once

#include "corrections/KindCodeComparison.h"
#include "platform/ConnectionSlot.h"
#include "platform/Failure.h"

#include <optional>
#include <string>

namespace flagwright {

// What an update would find in a database, read without changing anything.
enum class CheckOutcome {
    WouldUpdate,  // at 14.01.03: an update would run
    UpToDate,     // at 14.01.04, and every present code holds the table's flags
    Drifted,      // at 14.01.04, but a present code no longer holds them
    ReadOnly,     // at 14.01.03 or 14.01.04 in a database that cannot be written
    OtherVersion, // at any other version: an update would refuse it
    NotEmberline, // no version row, or no such table for the version query
    NoDatabase,   // the name was empty
    Failed,       // as an update run would fail: the connection, a query, the version's form
};

struct CheckReport {
    CheckOutcome outcome = CheckOutcome::Failed;
    std::optional<std::string> version;      // the version row, once read
    std::optional<KindCodeCounts> kindCodes; // read at 14.01.03 and 14.01.04 only
    std::optional<Failure> failure;          // what made the check fail, when it was one
    std::string message;                     // for a failure: what the update run would say
};

// Connects to the named database as an update run does, reads its version as the run does and,
// at 14.01.03 or 14.01.04, the flags of L_Kind, and counts them against the correction table.
// Only the two queries reach the server; the connection is closed before it returns.
CheckReport CheckDatabase(const ConnectionFactory& newConnection,
                          const ConnectionSettings& instance, const std::string& databaseName);

// A database that cannot be written (READ_ONLY, a standby copy, a snapshot) takes no update,
// whatever its flags say: where the check read them, that is its outcome; its counts stay.
void TakeReadOnly(CheckReport& report);

} // namespace flagwright
