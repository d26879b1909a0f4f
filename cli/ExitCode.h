#pragma once

#include "update/DatabaseCheck.h"
#include "update/UpdateRun.h"

namespace flagwright::cli {

// What the console program's exit status tells a remote-management tool. The numbers are part
// of its interface: they are printed by --help and listed in the README.
enum class ExitCode : int {
    Success = 0,
    Failed = 1,        // the update failed, the databases could not be listed, the output
                       // could not be written, or (update --all) at least one database failed
    Usage = 2,         // bad arguments; nothing was connected
    RefusedByGate = 3, // the database is not at version 14.01.03; nothing changed (check: at
                       // a version other than 14.01.03 and 14.01.04)
    NotEmberline = 4,  // not an Emberline database; nothing changed
    NoDatabase = 5,    // the database name was empty
    Drifted = 6,       // check: at 14.01.04, but a kind code no longer holds its corrected flags
    ReadOnly = 7,      // check: at 14.01.03 or 14.01.04, but the database cannot be written
};

inline ExitCode ExitCodeFor(RunOutcome outcome)
{
    switch (outcome) {
    case RunOutcome::Updated:
        return ExitCode::Success;
    case RunOutcome::NoDatabase:
        return ExitCode::NoDatabase;
    case RunOutcome::NotEmberline:
        return ExitCode::NotEmberline;
    case RunOutcome::RefusedByGate:
        return ExitCode::RefusedByGate;
    case RunOutcome::Failed:
        break;
    }
    return ExitCode::Failed;
}

inline ExitCode ExitCodeFor(CheckOutcome outcome)
{
    switch (outcome) {
    case CheckOutcome::WouldUpdate:
    case CheckOutcome::UpToDate:
        return ExitCode::Success;
    case CheckOutcome::Drifted:
        return ExitCode::Drifted;
    case CheckOutcome::ReadOnly:
        return ExitCode::ReadOnly;
    case CheckOutcome::OtherVersion:
        return ExitCode::RefusedByGate;
    case CheckOutcome::NotEmberline:
        return ExitCode::NotEmberline;
    case CheckOutcome::NoDatabase:
        return ExitCode::NoDatabase;
    case CheckOutcome::Failed:
        break;
    }
    return ExitCode::Failed;
}

} // namespace flagwright::cli
