#pragma once

#include "discovery/DatabaseAvailability.h"
#include "platform/ConnectionSlot.h"

#include <string>
#include <vector>

namespace flagwright {

// The query that lists the databases of the instance, with a flag for the system ones (the four
// built-in databases and a distribution database); SQL Server 2000 to 2022 all answer it.
inline constexpr const char* DatabaseCatalogQuery =
    "SELECT name, CASE WHEN dbid <= 4 OR (category & 16) = 16 THEN 1 ELSE 0 END AS IsSystem "
    "FROM master.dbo.sysdatabases ORDER BY name";

// The same rows with what the catalog tells of each database's state, for a caller that must
// not open a database this login cannot open. Both functions exist since SQL Server 2000; their
// sql_variant results become plain text.
inline constexpr const char* DatabaseAvailabilityQuery =
    "SELECT name, CASE WHEN dbid <= 4 OR (category & 16) = 16 THEN 1 ELSE 0 END AS IsSystem, "
    "HAS_DBACCESS(name) AS HasAccess, "
    "CAST(DATABASEPROPERTYEX(name, 'Status') AS nvarchar(128)) AS Status, "
    "CAST(DATABASEPROPERTYEX(name, 'UserAccess') AS nvarchar(128)) AS UserAccess "
    "FROM master.dbo.sysdatabases ORDER BY name";

struct OfferedDatabase {
    std::string name;
    DatabaseAvailability availability;
};

// The databases the operator may update, in catalog order: system databases and the
// EmberlineSupport database left out, every name kept whole. The whole listing takes at most
// the instance's connect time-out; any failure on the way, the time-out included, is thrown.
std::vector<std::string> ListOfferedDatabases(const ConnectionFactory& newConnection,
                                              const ConnectionSettings& instance);

// The same databases, each with its availability, from DatabaseAvailabilityQuery.
std::vector<OfferedDatabase>
ListOfferedDatabasesWithAvailability(const ConnectionFactory& newConnection,
                                     const ConnectionSettings& instance);

// The same names for the window (its GetDatabaseList): a list that cannot be read gives no names at
// all and is not reported, as the operator can still type a name.
std::vector<std::string> OfferedDatabases(const ConnectionFactory& newConnection,
                                          const ConnectionSettings& instance);

} // namespace flagwright
