#pragma once

#include "update/UpdateRun.h"

namespace flagwright::cli {

// What the console program's exit status tells a remote-management tool. The numbers are part
// of its interface: they are printed by --help and listed in the README.
enum class ExitCode : int {
    Success = 0,
    Failed = 1,        // the update failed, the databases could not be listed, the output
                       // could not be written, or (update --all) at least one database failed
    Usage = 2,         // bad arguments; nothing was connected
    RefusedByGate = 3, // the database is not at version 14.01.03; nothing changed
    NotEmberline = 4,  // not an Emberline database; nothing changed
    NoDatabase = 5,    // the database name was empty
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

} // namespace flagwright::cli
