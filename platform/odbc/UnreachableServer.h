#pragma once

#include "Failure.h"

namespace flagwright::odbc {

// The failure for a server that cannot be found or reached before any driver is involved,
// worded as the provider words it.
inline Failure UnreachableServer()
{
    return Failure(failure_code::Unspecified, "SQL Server does not exist or access denied.");
}

} // namespace flagwright::odbc
