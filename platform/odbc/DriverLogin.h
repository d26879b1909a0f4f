#pragma once

#include "platform/ConnectionSettings.h"
#include "platform/odbc/InstanceResolver.h"
#include "platform/odbc/OdbcHandle.h"

#include <optional>
#include <string>
#include <vector>

namespace flagwright::odbc {

// The SQL Server drivers to try, in turn, among the installed ODBC drivers. First the current
// Microsoft drivers, which reach current Express instances over shared memory and log in over
// TLS 1.2; then the legacy "SQL Server" driver, which every Windows has and the only one of
// them that speaks to MSDE 2000 (and which cannot log in where TLS 1.0 is switched off); then
// FreeTDS.
std::vector<std::string> DriversInTurn(const std::vector<std::string>& installedDrivers);

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

// endpoint: where the server listens, or nothing for a driver that finds the instance itself;
// wide: how the driver manager in use reads wide strings. Every value is written so that none
// can end early and add or change another attribute. Values that the driver manager and the
// chosen driver cannot carry exactly fail with InvalidArguments rather than naming something
// else.
DriverLogin DriverLoginFor(const std::string& driver, const std::optional<Endpoint>& endpoint,
                           const ConnectionSettings& settings, WideStrings wide);

} // namespace flagwright::odbc
