#pragma once

#include "platform/odbc/OdbcApi.h"

namespace flagwright::odbc {

// Asks the driver to cancel the call running on a connection in another thread, such as a
// login: ODBC 3.8's SQLCancelHandle, which the driver manager of Windows 7 and later has, and
// which a driver without it answers with IM001. Nothing elsewhere: Wine's driver manager has
// none, and unixODBC's reads the connection's driver and posts its answer unlocked, beside the
// login that may still be loading it.
void CancelConnectionCall(SQLHDBC link);

} // namespace flagwright::odbc
