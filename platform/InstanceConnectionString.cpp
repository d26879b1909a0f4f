#include "InstanceConnectionString.h"

#include "DoubledText.h"
#include "EmberlineInstance.h"

namespace flagwright {

namespace {
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool NeedsQuotes(const std::string& value)
{
    if (value.empty())
        return false;
    if (IsBlank(value.front()) || IsBlank(value.back()))
        return true;
    return value.find_first_of(";=\"'") != std::string::npos;
}
} // namespace

std::string ConnectionStringValue(const std::string& value)
{
    if (!NeedsQuotes(value))
        return value;
    // Quote with the character the value does not hold; with both, double the double quotes.
    if (value.find('"') == std::string::npos)
        return '"' + value + '"';
    if (value.find('\'') == std::string::npos)
        return '\'' + value + '\'';
    return '"' + WithDoubled(value, '"') + '"';
}

namespace {
std::string WithCatalogPiece(const std::string& catalogPiece)
{
    return std::string("provider=SQLOLEDB;Persist security info=False;user id=") + instance::Login +
           ";pwd=" + instance::Password + catalogPiece + ";data source=" + instance::DataSource +
           ";connect timeout = " + std::to_string(instance::ConnectTimeoutSeconds);
}
} // namespace

std::string InstanceConnectionString() { return WithCatalogPiece(""); }

std::string MSDEConnectionString(const std::string& databaseName)
{
    return WithCatalogPiece(";initial catalog=" + ConnectionStringValue(databaseName));
}

} // namespace flagwright
