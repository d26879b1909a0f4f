#pragma once

#include "cli/CommandTable.h"

namespace flagwright::cli {

// The console program's commands, as CommandTable and ProgramOptions name them.

// What --help prints: the commands, where their output goes and the exit codes.
ExitCode ShowHelp(const Command& command, const CommandContext& context);
ExitCode ShowVersion(const Command& command, const CommandContext& context);

// The databases the window offers, in its order, one per line with control characters shown
// escaped (-0: each exactly, followed by a NUL; --json: a JSON line each); when they cannot be
// listed, why, and a failure.
ExitCode ListDatabases(const Command& command, const CommandContext& context);

// What an update of the command's database would find, read without changing anything: its
// version and how its kind codes stand against the correction table.
ExitCode CheckDatabaseCommand(const Command& command, const CommandContext& context);

// The check of each database that ListDatabases prints, skipping those this login cannot open
// as UpdateAllDatabases does, and a summary: a failure when one failed, else drifted when one
// drifted.
ExitCode CheckAllDatabases(const Command& command, const CommandContext& context);

// The window's update run on the command's database, its message printed instead of shown, and
// then how long it took or, when it failed after it had begun to write, where it stopped.
// --json: one JSON line instead.
ExitCode UpdateDatabase(const Command& command, const CommandContext& context);

// One run for each database that ListDatabases prints, one after another: an outcome line per
// database (its name shown as ListDatabases shows it) and a summary on out, the runs' messages on
// err. Databases that are not at 14.01.03 or not Emberline databases are skipped, not failed,
// and so, without a connection, are those the listing shows this login cannot open; a list
// that cannot be read is a failure.
ExitCode UpdateAllDatabases(const Command& command, const CommandContext& context);

} // namespace flagwright::cli
