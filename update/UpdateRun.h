#pragma once

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
    // What the last run did.
    const RunReport& Report() const { return report_; }

private:
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
