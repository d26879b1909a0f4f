#include "DriverLogin.h"

#include "Connection.h"
#include "DiagnosticFailure.h"
#include "Failure.h"
#include "Text.h"
#include "Utf16.h"

#include <algorithm>
#include <array>

namespace flagwright::odbc {

namespace {
constexpr const char* FreeTds = "FreeTDS";
// FreeTDS cuts the database name of a login after 128 UTF-16 units, which could name another
// database; the server allows no longer name anyway.
constexpr std::size_t FreeTdsDatabaseLimit = 128;

// The ODBC rule: braces around the value, "}" doubled inside.
std::string Braced(const std::string& value)
{
    if (!IsCarriedExactly(value))
        throw layer_failure::InvalidArguments();
    std::string braced = "{";
    braced += WithDoubled(value, '}');
    braced += '}';
    return braced;
}

// FreeTDS 1.3 ends a braced value at the first "};" and takes everything before it
// literally ("}}" stays two braces), so a value is carried exactly unless it holds "};".
bool FreeTdsCanBrace(const std::string& value)
{
    return IsCarriedExactly(value) && value.find("};") == std::string::npos;
}

std::string FreeTdsAttribute(const std::string& keyword, const std::string& value)
{
    if (!FreeTdsCanBrace(value))
        throw layer_failure::InvalidArguments();
    return keyword + "={" + value + "};";
}

bool HasCharacterBeyondUtf16Unit(const std::string& utf8)
{
    return std::any_of(utf8.begin(), utf8.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0xF0; });
}

std::string MicrosoftAttribute(const std::string& keyword, const std::string& value)
{
    return keyword + "=" + Braced(value) + ";";
}

// The server as Microsoft's drivers read it: "tcp:host,port", or "server\instance" (and
// ",port") for a driver that finds the instance itself.
std::string MicrosoftServer(const std::optional<Endpoint>& endpoint,
                            const ConnectionSettings& settings)
{
    if (endpoint)
        return "tcp:" + endpoint->host + "," + std::to_string(endpoint->port);
    std::string server = settings.server;
    if (!settings.instance.empty())
        server.append("\\").append(settings.instance);
    if (settings.port)
        server.append(",").append(std::to_string(*settings.port));
    return server;
}

DriverLogin FreeTdsLogin(const Endpoint& endpoint, const ConnectionSettings& settings)
{
    DriverLogin login;
    login.connectString =
        FreeTdsAttribute("DRIVER", FreeTds) + FreeTdsAttribute("SERVER", endpoint.host) +
        FreeTdsAttribute("PORT", std::to_string(endpoint.port)) +
        FreeTdsAttribute("UID", settings.login) + FreeTdsAttribute("PWD", settings.password);
    const std::string& database = settings.database;
    if (Utf8ToUtf16(database).size() > FreeTdsDatabaseLimit)
        throw layer_failure::InvalidArguments();
    if (FreeTdsCanBrace(database)) {
        if (!database.empty())
            login.connectString += FreeTdsAttribute("DATABASE", database);
    } else {
        // The driver manager passes the attribute on as UCS-2: no characters beyond it.
        if (!IsCarriedExactly(database) || HasCharacterBeyondUtf16Unit(database))
            throw layer_failure::InvalidArguments();
        login.catalogAttribute = database;
    }
    // An explicit TDS version: in its automatic mode FreeTDS can hang on a peer that never
    // answers the prelogin. The login goes over TLS where the server offers it, in plain
    // text to one that does not (MSDE 2000).
    login.connectString += "TDS_Version={7.4};ClientCharset={UTF-8};Encryption={request};";
    return login;
}
} // namespace

std::optional<std::string> PreferredDriver(const std::vector<std::string>& installedDrivers)
{
    constexpr std::array<const char*, 4> preference = {
        "SQL Server", "ODBC Driver 18 for SQL Server", "ODBC Driver 17 for SQL Server", FreeTds};
    for (const char* driver : preference)
        if (std::find(installedDrivers.begin(), installedDrivers.end(), driver) !=
            installedDrivers.end())
            return driver;
    return std::nullopt;
}

bool DriverFindsInstance([[maybe_unused]] const std::string& driver)
{
#ifdef _WIN32
    return driver != FreeTds;
#else
    return false;
#endif
}

DriverLogin DriverLoginFor(const std::string& driver, const std::optional<Endpoint>& endpoint,
                           const ConnectionSettings& settings)
{
    if (driver == FreeTds) {
        if (!endpoint)
            throw UnreachableServer(); // FreeTDS cannot find an instance by itself
        return FreeTdsLogin(*endpoint, settings);
    }
    // Like the OLE DB provider this replaces, no encryption of the data on the local link;
    // these drivers still encrypt the login wherever the server can.
    std::string text = MicrosoftAttribute("DRIVER", driver) +
                       MicrosoftAttribute("SERVER", MicrosoftServer(endpoint, settings));
    if (!settings.database.empty())
        text += MicrosoftAttribute("DATABASE", settings.database);
    text += MicrosoftAttribute("UID", settings.login) +
            MicrosoftAttribute("PWD", settings.password) + MicrosoftAttribute("Encrypt", "no");
    return {text, std::nullopt};
}

} // namespace flagwright::odbc
