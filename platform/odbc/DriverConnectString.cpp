#include "DriverConnectString.h"

#include "Failure.h"

#include <algorithm>
#include <array>

namespace flagwright::odbc {

namespace {
constexpr const char* FreeTds = "FreeTDS";
} // namespace

std::optional<std::string> PreferredDriver(const std::vector<std::string>& installedDrivers)
{
    constexpr std::array<const char*, 4> preference = {
        "ODBC Driver 18 for SQL Server", "ODBC Driver 17 for SQL Server", "SQL Server", FreeTds};
    for (const char* driver : preference)
        if (std::find(installedDrivers.begin(), installedDrivers.end(), driver) !=
            installedDrivers.end())
            return driver;
    return std::nullopt;
}

std::string Braced(const std::string& value)
{
    if (value.find('\0') != std::string::npos)
        throw Failure(failure_code::InvalidArguments,
                      "Arguments are of the wrong type, are out of acceptable range, or are in "
                      "conflict with one another.");
    std::string braced = "{";
    for (char c : value) {
        braced += c;
        if (c == '}')
            braced += '}';
    }
    return braced + '}';
}

std::string DriverConnectString(const std::string& driver, const std::string& host, int port,
                                const ConnectionSettings& settings)
{
    const std::string account = ";DATABASE=" + Braced(settings.database) +
                                ";UID=" + Braced(settings.userId) +
                                ";PWD=" + Braced(settings.password);
    if (driver == FreeTds)
        // An explicit TDS version: in its automatic mode FreeTDS can hang on a peer that
        // never answers the prelogin.
        return "DRIVER=" + Braced(driver) + ";SERVER=" + Braced(host) +
               ";PORT=" + Braced(std::to_string(port)) + account +
               ";TDS_Version={7.4};ClientCharset={UTF-8}";
    // Like the OLE DB provider this replaces, no encryption on the local link.
    return "DRIVER=" + Braced(driver) + ";SERVER=" +
           Braced("tcp:" + host + "," + std::to_string(port)) + account + ";Encrypt={no}";
}

} // namespace flagwright::odbc
