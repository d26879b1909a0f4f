#pragma once

#include "ConnectionSettings.h"

#include <optional>
#include <string>
#include <vector>

namespace flagwright::odbc {

// The SQL Server driver to use among the installed ODBC drivers, best first: the current
// Microsoft drivers, the legacy one, then FreeTDS.
std::optional<std::string> PreferredDriver(const std::vector<std::string>& installedDrivers);

// A value in braces with "}" doubled, so that it cannot end early and add or change another
// attribute. A NUL cannot be carried (the driver stops there) and fails with 3001 rather than
// naming something else.
std::string Braced(const std::string& value);

// The SQLDriverConnect string for a login to host:port with the given settings.
std::string DriverConnectString(const std::string& driver, const std::string& host, int port,
                                const ConnectionSettings& settings);

} // namespace flagwright::odbc
