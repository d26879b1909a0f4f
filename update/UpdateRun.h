#pragma once

#include "platform/ConnectionSlot.h"
#include "platform/Failure.h"
#include "platform/WindowServices.h"

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

private:
    void MSDEConnection(const std::string& databaseName);
    // The version gate (UpdateDB): false after it has shown its refusal itself.
    bool PassesVersionGate(const Variant& sDBVer);
    void CloseRun();
    // changing: the run had begun to write to the database.
    RunOutcome ReportRunFailure(const Failure& failure, bool changing);
    void CloseOpenConnection();

    WindowServices& window_;
    ConnectionSettings instance_;
    ConnectionSlot cnDatabase_;
};

} // namespace flagwright
