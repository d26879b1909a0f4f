#include "OfferedDatabases.h"

#include "Failure.h"

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

std::vector<std::string> NamesOnOffer(const Recordset& databases)
{
    std::vector<std::string> names;
    for (const std::vector<Variant>& row : databases.Rows()) {
        // Read one row at a time by column name, as the query names them.
        const Recordset current(databases.Columns(), {row});
        if (IsSystemFlag(current.Fields("IsSystem").Value()))
            continue;
        const std::string name = RequiredText(current.Fields("name").Value());
        if (name != SupportDatabase)
            names.push_back(name);
    }
    return names;
}
} // namespace

std::vector<std::string> ListOfferedDatabases(const ConnectionFactory& newConnection,
                                              const ConnectionSettings& instance)
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
    std::vector<std::string> names = NamesOnOffer(connection->Execute(DatabaseCatalogQuery));
    connection->Close();
    return names;
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
