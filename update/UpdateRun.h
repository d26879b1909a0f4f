#pragma once

#include "corrections/KindCodeComparison.h"
#include "platform/ConnectionSlot.h"
#include "platform/Failure.h"
#include "platform/WindowServices.h"

#include <cstddef>
#include <optional>
#include <string>

namespace flagwright {

// How a run ended, for a caller that acts on it; the operator has been told in a message.
enum class RunOutcome {
    Updated,       // corrected and stamped 14.01.04
    NoDatabase,    // the name was empty
    NotEmberline,  // no version row, or no such table for the version query
    RefusedByGate, // a version other than 14.01.03
    Failed,        // the connection did not open, or anything else went wrong
};

// What a run did, beyond its outcome, for a caller that tells more than the window's message.
struct RunReport {
    RunOutcome outcome = RunOutcome::Failed;
    std::optional<std::string> versionBefore; // the version row, once read
    bool writing = false;                     // a statement that writes had been sent
    std::size_t corrections = 0;    // the corrections that ran without error, in table order
    bool stamped = false;           // the version was set to 14.01.04
    std::optional<Failure> failure; // what ended a run that failed
};

// The correction (its place in the table) at which a run that had begun to write failed;
// nothing when it did not fail among them.
std::optional<std::size_t> StoppedAt(const RunReport& report);

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
};

// A database that cannot be written (READ_ONLY, a standby copy, a snapshot) takes no update,
// whatever its flags say: where the check read them, that is its outcome; its counts stay.
void TakeReadOnly(CheckReport& report);

// What pressing the update button does: check the name, connect, gate the schema version,
// apply the kind code corrections, stamp the old and new version, and report the outcome
// through the window services. Holds the window-level connection between runs.
class UpdateRun {
public:
    // instance: where and as whom to connect; each run names its own database.
    UpdateRun(WindowServices& window, ConnectionFactory newConnection, ConnectionSettings instance);

    // One whole run on the named database (the combo box's text); every outcome, failures
    // included, ends in a message.
    RunOutcome Run(const std::string& databaseName);
    // What Run would find, changing nothing: the run's own first steps (the name, the
    // connection, the version row, the gate's reading of it, each with the run's message), then
    // at 14.01.03 or 14.01.04 the flags of L_Kind, counted against the correction table. Only
    // the version query and that read reach the server; the connection is closed at the end.
    CheckReport Check(const std::string& databaseName);
    // What the last run did.
    const RunReport& Report() const { return report_; }

private:
    // The steps every run and check begin with: the name, the connection, the version row.
    // Nothing where the run ends there, with its outcome and message.
    std::optional<Recordset> Inspect(const std::string& databaseName);
    void MSDEConnection(const std::string& databaseName);
    // The version gate (UpdateDB): false after it has shown its refusal itself.
    bool PassesVersionGate(const Variant& sDBVer);
    void CloseRun();
    RunOutcome ReportRunFailure(const Failure& failure);
    RunOutcome Ended(RunOutcome outcome);
    void CloseOpenConnection();

    WindowServices& window_;
    ConnectionSettings instance_;
    ConnectionSlot cnDatabase_;
    RunReport report_;
};

} // namespace flagwright
