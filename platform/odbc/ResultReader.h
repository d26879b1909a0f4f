#pragma once

#include "platform/Recordset.h"
#include "platform/odbc/OdbcHandle.h"

#include <optional>

namespace flagwright::odbc {

// Reads the executed statement's results to the end: the rows of the first result that has
// columns (all of them, NULL as no value, long text in pieces), the rest drained so errors in
// later results surface. Nothing when a call fails; the diagnostics stay on the statement.
std::optional<Recordset> ReadResults(const OdbcHandle& statement);

} // namespace flagwright::odbc
