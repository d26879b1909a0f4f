#pragma once

#include "ConnectionSettings.h"
#include "InstanceResolver.h"

#include <optional>
#include <string>
#include <vector>

namespace flagwright::odbc {

// The SQL Server driver to use among the installed ODBC drivers. First Microsoft's "SQL
// Server", which every Windows machine has and which speaks to every engine from MSDE 2000 to
// the current Express; then the current Microsoft drivers, which no longer speak to SQL
// Server 2000; then FreeTDS.
std::optional<std::string> PreferredDriver(const std::vector<std::string>& installedDrivers);

// Whether the driver finds a named instance itself, the way the provider it replaces did: on
// Windows, Microsoft's drivers reach a local instance by shared memory or named pipes before
// TCP through the browser, and instances are often installed with TCP switched off. FreeTDS,
// and every driver elsewhere, is given the TCP endpoint that the program's own browser lookup
// found.
bool DriverFindsInstance(const std::string& driver);

// How to log in through a driver: its SQLDriverConnect string, and the database as the
// connection's current-catalog attribute when the string cannot carry the name exactly.
struct DriverLogin {
    std::string connectString;
    std::optional<std::string> catalogAttribute;
};

// endpoint: where the server listens, or nothing for a driver that finds the instance itself.
// Every value is written so that none can end early and add or change another attribute.
// Values the chosen driver cannot carry exactly fail with InvalidArguments rather than
// naming something else.
DriverLogin DriverLoginFor(const std::string& driver, const std::optional<Endpoint>& endpoint,
                           const ConnectionSettings& settings);

} // namespace flagwright::odbc
