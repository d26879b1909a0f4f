#include "discovery/OfferedDatabases.h"

#include "platform/Failure.h"
#include "platform/Text.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <exception>
#include <memory>

namespace flagwright {

namespace {
// Holds the databases the program serves itself; never offered for an update.
constexpr const char* SupportDatabase = "EmberlineSupport";
// The catalog is master's, and master is there whatever else is offline or restoring.
constexpr const char* CatalogDatabase = "master";

long WholeNumber(const Variant& value)
{
    const std::string text = RequiredText(value);
    long number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size())
        throw Failure(failure_code::TypeMismatch, "Type mismatch");
    return number;
}

std::string NameOf(const Recordset& row) { return RequiredText(row.Fields("name").Value()); }

// Runs one query on master, login and query together within the instance's connect time-out.
Recordset AskCatalog(const ConnectionFactory& newConnection, const ConnectionSettings& instance,
                     const std::string& query)
{
    const auto deadline = std::chrono::steady_clock::now() + instance.connectTimeout;
    const std::unique_ptr<Connection> connection = newConnection();
    ConnectionSettings settings = instance;
    settings.database = CatalogDatabase;
    connection->Open(settings);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left <= std::chrono::milliseconds::zero())
        throw Failure(failure_code::Timeout, "Timeout expired");
    connection->CommandTimeout(left);
    Recordset rows = connection->Execute(query);
    connection->Close();
    return rows;
}
} // namespace

std::string DatabaseAvailabilityQuery(long databaseId)
{
    return "SELECT name, HAS_DBACCESS(name) AS HasAccess, "
           "CAST(DATABASEPROPERTYEX(name, 'Status') AS nvarchar(128)) AS Status, "
           "CAST(DATABASEPROPERTYEX(name, 'UserAccess') AS nvarchar(128)) AS UserAccess, "
           "CAST(DATABASEPROPERTYEX(name, 'Updateability') AS nvarchar(128)) AS Updateability "
           "FROM master.dbo.sysdatabases WHERE dbid = " +
           std::to_string(databaseId);
}

std::vector<OfferedDatabase> ListOfferedDatabases(const ConnectionFactory& newConnection,
                                                  const ConnectionSettings& instance)
{
    const Recordset catalog = AskCatalog(newConnection, instance, DatabaseCatalogQuery);
    std::vector<OfferedDatabase> offered;
    for (const std::vector<Variant>& row : catalog.Rows()) {
        const Recordset current(catalog.Columns(), {row});
        // The system flag first: a system database's name is never read.
        if (WholeNumber(current.Fields("IsSystem").Value()) != 0)
            continue;
        std::string name = NameOf(current);
        if (name != SupportDatabase)
            offered.push_back({std::move(name), WholeNumber(current.Fields("dbid").Value())});
    }
    return offered;
}

std::vector<std::string> OfferedDatabases(const ConnectionFactory& newConnection,
                                          const ConnectionSettings& instance)
{
    try {
        std::vector<std::string> names;
        for (OfferedDatabase& database : ListOfferedDatabases(newConnection, instance))
            names.push_back(std::move(database.name));
        return names;
    } catch (const std::exception&) {
        // The connection is released either way.
        return {};
    }
}

DatabaseAvailability AvailabilityNow(const ConnectionFactory& newConnection,
                                     const ConnectionSettings& instance,
                                     const OfferedDatabase& database)
{
    try {
        const Recordset row =
            AskCatalog(newConnection, instance, DatabaseAvailabilityQuery(database.id));
        if (row.Eof() || row.Fields("name").Value() != database.name)
            return {};
        return AvailabilityOf(row.Fields("HasAccess").Value(), row.Fields("Status").Value(),
                              row.Fields("UserAccess").Value(),
                              row.Fields("Updateability").Value());
    } catch (const std::exception&) {
        return {};
    }
}

DatabaseAvailability AvailabilityNow(const ConnectionFactory& newConnection,
                                     const ConnectionSettings& instance, const std::string& name)
{
    std::vector<OfferedDatabase> offered;
    try {
        offered = ListOfferedDatabases(newConnection, instance);
    } catch (const std::exception&) {
        return {};
    }
    const auto exactly = std::find_if(offered.begin(), offered.end(),
                                      [&](const OfferedDatabase& d) { return d.name == name; });
    if (exactly != offered.end())
        return AvailabilityNow(newConnection, instance, *exactly);
    const auto alike = [&](const OfferedDatabase& d) { return SameName(d.name, name); };
    if (std::count_if(offered.begin(), offered.end(), alike) != 1)
        return {};
    return AvailabilityNow(newConnection, instance,
                           *std::find_if(offered.begin(), offered.end(), alike));
}

} // namespace flagwright
