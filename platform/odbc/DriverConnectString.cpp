#include "DriverConnectString.h"

#include "DoubledText.h"
#include "Failure.h"
#include "Utf16.h"

#include <algorithm>
#include <array>

namespace flagwright::odbc {

namespace {
constexpr const char* FreeTds = "FreeTDS";
// FreeTDS cuts the database name of a login after 128 UTF-16 units, which could name another
// database; the server allows no longer name anyway.
constexpr std::size_t FreeTdsDatabaseLimit = 128;

[[noreturn]] void CannotCarry()
{
    throw Failure(failure_code::InvalidArguments,
                  "Arguments are of the wrong type, are out of acceptable range, or are in "
                  "conflict with one another.");
}

// The ODBC rule: braces around the value, "}" doubled inside.
std::string Braced(const std::string& value)
{
    if (value.find('\0') != std::string::npos)
        CannotCarry(); // the driver would stop reading there
    return '{' + WithDoubled(value, '}') + '}';
}

// FreeTDS 1.3.17 ends a braced value at the first "};" and takes everything before it
// literally ("}}" stays two braces), so a value is carried exactly unless it holds "};".
std::optional<std::string> FreeTdsBraced(const std::string& value)
{
    if (value.find('\0') != std::string::npos || value.find("};") != std::string::npos)
        return std::nullopt;
    return "{" + value + "}";
}

std::string FreeTdsAttribute(const std::string& keyword, const std::string& value)
{
    const auto braced = FreeTdsBraced(value);
    if (!braced)
        CannotCarry();
    return keyword + "=" + *braced + ";";
}

bool HasCharacterBeyondUtf16Unit(const std::string& utf8)
{
    return std::any_of(utf8.begin(), utf8.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0xF0; });
}

DriverLogin FreeTdsLogin(const std::string& host, int port, const ConnectionSettings& settings)
{
    DriverLogin login;
    login.connectString = FreeTdsAttribute("DRIVER", FreeTds) + FreeTdsAttribute("SERVER", host) +
                          FreeTdsAttribute("PORT", std::to_string(port)) +
                          FreeTdsAttribute("UID", settings.userId) +
                          FreeTdsAttribute("PWD", settings.password);
    if (Utf8ToUtf16(settings.database).size() > FreeTdsDatabaseLimit)
        CannotCarry();
    if (FreeTdsBraced(settings.database)) {
        login.connectString += FreeTdsAttribute("DATABASE", settings.database);
    } else {
        // The driver manager passes the attribute on as UCS-2: no characters beyond it.
        if (settings.database.find('\0') != std::string::npos ||
            HasCharacterBeyondUtf16Unit(settings.database))
            CannotCarry();
        login.catalogAttribute = settings.database;
    }
    // An explicit TDS version: in its automatic mode FreeTDS can hang on a peer that never
    // answers the prelogin.
    login.connectString += "TDS_Version={7.4};ClientCharset={UTF-8};";
    return login;
}
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

DriverLogin DriverLoginFor(const std::string& driver, const std::string& host, int port,
                           const ConnectionSettings& settings)
{
    if (driver == FreeTds)
        return FreeTdsLogin(host, port, settings);
    // Like the OLE DB provider this replaces, no encryption on the local link.
    return {"DRIVER=" + Braced(driver) +
                ";SERVER=" + Braced("tcp:" + host + "," + std::to_string(port)) +
                ";DATABASE=" + Braced(settings.database) + ";UID=" + Braced(settings.userId) +
                ";PWD=" + Braced(settings.password) + ";Encrypt={no};",
            std::nullopt};
}

} // namespace flagwright::odbc
