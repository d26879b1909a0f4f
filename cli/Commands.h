#pragma once

#include "ConnectionSlot.h"
#include "ExitCode.h"

#include <iosfwd>
#include <string>

namespace flagwright::cli {

// The console program's commands, on the instance the window works with and through the same
// connection factory; out and err stand for stdout and stderr.

// The databases the window offers, in its order, one per line with control characters shown
// escaped (nulSeparated: each exactly, followed by a NUL); when they cannot be listed, why, on
// err, and a failure.
ExitCode ListDatabases(const ConnectionFactory& newConnection, const ConnectionSettings& instance,
                       bool nulSeparated, std::ostream& out, std::ostream& err);

// The window's update run on one database, its message printed instead of shown.
ExitCode UpdateDatabase(const std::string& name, const ConnectionFactory& newConnection,
                        const ConnectionSettings& instance, std::ostream& out, std::ostream& err);

// One run for each database that ListDatabases prints, one after another: an outcome line per
// database (its name shown as ListDatabases shows it) and a summary on out, the runs' messages on
// err. Databases that are not at 14.01.03 or not Emberline databases are skipped, not failed,
// and so, without a connection, are those the listing shows this login cannot open; a list
// that cannot be read is a failure.
ExitCode UpdateAllDatabases(const ConnectionFactory& newConnection,
                            const ConnectionSettings& instance, std::ostream& out,
                            std::ostream& err);

} // namespace flagwright::cli
