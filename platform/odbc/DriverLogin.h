#pragma once

#include "ConnectionSettings.h"
#include "InstanceResolver.h"

#include <optional>
#include <string>
#include <vector>

namespace flagwright::odbc {

// The SQL Server driver to use among the installed ODBC drivers, best first: the current
// Microsoft drivers, the legacy one, then FreeTDS.
std::optional<std::string> PreferredDriver(const std::vector<std::string>& installedDrivers);

// How to log in through a driver: its SQLDriverConnect string, and the database as the
// connection's current-catalog attribute when the string cannot carry the name exactly.
struct DriverLogin {
    std::string connectString;
    std::optional<std::string> catalogAttribute;
};

// Every value is written so that none can end early and add or change another attribute.
// Values the chosen driver cannot carry exactly fail with InvalidArguments rather than
// naming something else.
DriverLogin DriverLoginFor(const std::string& driver, const Endpoint& endpoint,
                           const ConnectionSettings& settings);

} // namespace flagwright::odbc
