#include "DatabaseList.h"

#include "Failure.h"
#include "InstanceConnectionString.h"

#include <charconv>
#include <exception>
#include <memory>

namespace flagwright {

namespace {
// Holds the databases the program serves itself; never offered for an update.
constexpr const char* SupportDatabase = "EmberlineSupport";

std::string RequiredText(const Variant& value)
{
    if (!value)
        throw Failure(failure_code::InvalidUseOfNull, "Invalid use of Null");
    return *value;
}

bool IsSystemFlag(const Variant& value)
{
    const std::string text = RequiredText(value);
    long flag = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), flag);
    if (error != std::errc() || end != text.data() + text.size())
        throw Failure(failure_code::TypeMismatch, "Type mismatch");
    return flag != 0;
}

std::vector<std::string> OfferedNames(const Recordset& databases)
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

std::vector<std::string> GetDatabaseNames(const ConnectionFactory& newConnection)
{
    try {
        const std::unique_ptr<Connection> connection = newConnection();
        connection->ConnectionString(InstanceConnectionString());
        connection->Open();
        std::vector<std::string> names = OfferedNames(connection->Execute(DatabaseCatalogQuery));
        connection->Close();
        return names;
    } catch (const std::exception&) {
        // A list that cannot be read is an empty list; the connection is released either way.
        return {};
    }
}

std::string GetDatabaseList(const ConnectionFactory& newConnection)
{
    const std::vector<std::string> names = GetDatabaseNames(newConnection);
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i)
        list += (i == 0 ? "" : ",") + names[i];
    return list;
}

void LoadDatabaseList(ComboBox& combo, const ConnectionFactory& newConnection)
{
    combo.Clear();
    // Names are kept whole, so a database whose name holds "," is offered as it is.
    for (const std::string& name : GetDatabaseNames(newConnection))
        combo.AddItem(name);
}

} // namespace flagwright
