#include "discovery/OfferedDatabases.h"

#include "platform/Failure.h"

#include <charconv>
#include <chrono>
#include <exception>
#include <memory>

namespace flagwright {

namespace {
// Holds the databases the program serves itself; never offered for an update.
constexpr const char* SupportDatabase = "EmberlineSupport";

bool IsSystemFlag(const Variant& value)
{
    const std::string text = RequiredText(value);
    long flag = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), flag);
    if (error != std::errc() || end != text.data() + text.size())
        throw Failure(failure_code::TypeMismatch, "Type mismatch");
    return flag != 0;
}

std::string NameOf(const Recordset& row) { return RequiredText(row.Fields("name").Value()); }

// Each row on offer, as a record set of its own, read by column name as the queries name them.
std::vector<Recordset> RowsOnOffer(const Recordset& databases)
{
    std::vector<Recordset> offered;
    for (const std::vector<Variant>& row : databases.Rows()) {
        Recordset current(databases.Columns(), {row});
        if (IsSystemFlag(current.Fields("IsSystem").Value()))
            continue;
        if (NameOf(current) != SupportDatabase)
            offered.push_back(std::move(current));
    }
    return offered;
}

// Runs one catalog query; the whole listing takes at most the instance's connect time-out.
std::vector<Recordset> ListRowsOnOffer(const ConnectionFactory& newConnection,
                                       const ConnectionSettings& instance, const char* query)
{
    // One deadline for the whole listing: the window waits for it before it is shown.
    const auto deadline = std::chrono::steady_clock::now() + instance.connectTimeout;
    const std::unique_ptr<Connection> connection = newConnection();
    connection->Open(instance);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left <= std::chrono::milliseconds::zero())
        throw Failure(failure_code::Timeout, "Timeout expired");
    connection->CommandTimeout(left);
    std::vector<Recordset> rows = RowsOnOffer(connection->Execute(query));
    connection->Close();
    return rows;
}
} // namespace

std::vector<std::string> ListOfferedDatabases(const ConnectionFactory& newConnection,
                                              const ConnectionSettings& instance)
{
    std::vector<std::string> names;
    for (const Recordset& row : ListRowsOnOffer(newConnection, instance, DatabaseCatalogQuery))
        names.push_back(NameOf(row));
    return names;
}

std::vector<OfferedDatabase>
ListOfferedDatabasesWithAvailability(const ConnectionFactory& newConnection,
                                     const ConnectionSettings& instance)
{
    std::vector<OfferedDatabase> databases;
    for (const Recordset& row : ListRowsOnOffer(newConnection, instance, DatabaseAvailabilityQuery))
        databases.push_back({NameOf(row), AvailabilityOf(row.Fields("HasAccess").Value(),
                                                         row.Fields("Status").Value(),
                                                         row.Fields("UserAccess").Value())});
    return databases;
}

std::vector<std::string> OfferedDatabases(const ConnectionFactory& newConnection,
                                          const ConnectionSettings& instance)
{
    try {
        return ListOfferedDatabases(newConnection, instance);
    } catch (const std::exception&) {
        // The connection is released either way.
        return {};
    }
}

} // namespace flagwright
