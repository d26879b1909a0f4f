#pragma once

#include "discovery/DatabaseAvailability.h"
#include "platform/ConnectionSlot.h"

#include <string>
#include <vector>

namespace flagwright {

// The query that lists the databases of the instance, with their ids and a flag for the system
// ones (the four built-in databases and a distribution database); SQL Server 2000 to 2022 all
// answer it, and it opens no database but master.
inline constexpr const char* DatabaseCatalogQuery =
    "SELECT name, dbid, CASE WHEN dbid <= 4 OR (category & 16) = 16 THEN 1 ELSE 0 END AS IsSystem "
    "FROM master.dbo.sysdatabases ORDER BY name";

// What the catalog tells of one database's state without opening it, asked by its id so that
// no name from outside goes into SQL. Both functions exist since SQL Server 2000; their
// sql_variant results become plain text. HAS_DBACCESS and DATABASEPROPERTYEX wake a database
// that AUTO_CLOSE has closed, which takes its time: one database per question.
std::string DatabaseAvailabilityQuery(long databaseId);

struct OfferedDatabase {
    std::string name;
    long id = 0; // its dbid in the catalog
};

// The databases the operator may update, in catalog order: system databases and the
// EmberlineSupport database left out, every name kept whole. The listing logs in to master,
// whatever the login's default database, and takes at most the instance's connect time-out;
// any failure on the way, the time-out included, is thrown.
std::vector<OfferedDatabase> ListOfferedDatabases(const ConnectionFactory& newConnection,
                                                  const ConnectionSettings& instance);

// The same names for the window (its GetDatabaseList): a list that cannot be read gives no names at
// all and is not reported, as the operator can still type a name.
std::vector<std::string> OfferedDatabases(const ConnectionFactory& newConnection,
                                          const ConnectionSettings& instance);

// What the catalog tells now of a database on offer, asked on a login of its own to master
// with a deadline of its own (the connect time-out). Only what the server says plainly keeps a
// database from its run: a question that fails, or a catalog that no longer lists that id
// under that name, tells nothing (MayOpen), and the run finds out.
DatabaseAvailability AvailabilityNow(const ConnectionFactory& newConnection,
                                     const ConnectionSettings& instance,
                                     const OfferedDatabase& database);

// The same for a database known only by its name, found on offer under that name (ASCII
// letters in any case where only one is); nothing is told of a name not on offer.
DatabaseAvailability AvailabilityNow(const ConnectionFactory& newConnection,
                                     const ConnectionSettings& instance, const std::string& name);

} // namespace flagwright
