#include "platform/odbc/DriverLogin.h"

#include "platform/Connection.h"
#include "platform/Failure.h"
#include "platform/Utf16.h"
#include "platform/odbc/DiagnosticFailure.h"

#include <algorithm>

namespace flagwright::odbc {

namespace {
constexpr const char* CurrentDriver = "ODBC Driver 18 for SQL Server";
constexpr const char* PreviousDriver = "ODBC Driver 17 for SQL Server";
constexpr const char* LegacyDriver = "SQL Server";
constexpr const char* FreeTds = "FreeTDS";
// FreeTDS cuts the database name of a login after 128 UTF-16 units, which could name another
// database; the server allows no longer name anyway.
constexpr std::size_t DatabaseLimit = 128;

// Whether "{value}" is read back as value, ending at its own closing brace, by every parser
// on the way. unixODBC ends a braced value at a single "}" and keeps the last DRIVER it
// reads, and reads the wide string as one byte per UTF-16 unit, the unit's low byte (U+017D
// is "}" to it); FreeTDS ends a braced value at the first "};"; Microsoft's drivers allow no
// "}" inside braces. All of them take everything else inside braces literally, blanks,
// ";", "=" and "{" included.
bool BracesExactly(const std::string& value, WideStrings wide)
{
    const std::u16string units = Utf8ToUtf16(value);
    return IsCarriedExactly(value) && std::none_of(units.begin(), units.end(), [&](char16_t unit) {
               return (wide == WideStrings::LowBytes ? unit & 0xFF : unit) == '}';
           });
}

// Whether the current-catalog attribute reaches the driver exactly. Until the connect
// unixODBC keeps the attribute as the low byte of each UTF-16 unit and then hands those bytes
// to the driver's ANSI entry point: only ASCII survives that unchanged. Microsoft's driver
// manager hands the wide attribute on whole.
bool AttributeCarriesExactly(const std::string& value, WideStrings wide)
{
    return IsCarriedExactly(value) &&
           (wide == WideStrings::Whole || std::all_of(value.begin(), value.end(), [](char c) {
                return static_cast<unsigned char>(c) < 0x80;
            }));
}

std::string Attribute(const std::string& keyword, const std::string& value, WideStrings wide)
{
    if (!BracesExactly(value, wide))
        throw layer_failure::InvalidArguments();
    return keyword + "={" + value + "};";
}

// The database as an attribute of the string where every parser reads it exactly, else as
// the catalog attribute; a name that neither carries exactly fails rather than naming
// another database.
void AddDatabase(DriverLogin& login, const std::string& database, WideStrings wide)
{
    if (Utf8ToUtf16(database).size() > DatabaseLimit)
        throw layer_failure::InvalidArguments();
    if (database.empty())
        return;
    if (BracesExactly(database, wide))
        login.connectString += Attribute("DATABASE", database, wide);
    else if (AttributeCarriesExactly(database, wide))
        login.catalogAttribute = database;
    else
        throw layer_failure::InvalidArguments();
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

DriverLogin FreeTdsLogin(const Endpoint& endpoint, const ConnectionSettings& settings,
                         WideStrings wide)
{
    DriverLogin login;
    login.connectString =
        Attribute("DRIVER", FreeTds, wide) + Attribute("SERVER", endpoint.host, wide) +
        Attribute("PORT", std::to_string(endpoint.port), wide) +
        Attribute("UID", settings.login, wide) + Attribute("PWD", settings.password, wide);
    AddDatabase(login, settings.database, wide);
    // An explicit TDS version: in its automatic mode FreeTDS can hang on a peer that never
    // answers the prelogin. The login goes over TLS where the server offers it, in plain
    // text to one that does not (MSDE 2000).
    login.connectString += "TDS_Version={7.4};ClientCharset={UTF-8};Encryption={request};";
    return login;
}
} // namespace

std::vector<std::string> DriversInTurn(const std::vector<std::string>& installedDrivers)
{
    std::vector<std::string> drivers;
    for (const char* driver : {CurrentDriver, PreviousDriver, LegacyDriver, FreeTds})
        if (std::find(installedDrivers.begin(), installedDrivers.end(), driver) !=
            installedDrivers.end())
            drivers.emplace_back(driver);
    return drivers;
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
                           const ConnectionSettings& settings, WideStrings wide)
{
    if (driver == FreeTds) {
        if (!endpoint)
            throw UnreachableServer(); // FreeTDS cannot find an instance by itself
        return FreeTdsLogin(*endpoint, settings, wide);
    }
    // Like the OLE DB provider this replaces, no encryption of the data on the local link;
    // these drivers still encrypt the login wherever the server can.
    DriverLogin login;
    login.connectString = Attribute("DRIVER", driver, wide) +
                          Attribute("SERVER", MicrosoftServer(endpoint, settings), wide);
    AddDatabase(login, settings.database, wide);
    login.connectString += Attribute("UID", settings.login, wide) +
                           Attribute("PWD", settings.password, wide) +
                           Attribute("Encrypt", "no", wide);
    if (driver == CurrentDriver || driver == PreviousDriver) {
        // Driver 18 validates the certificate of a server that forces encryption even with
        // Encrypt=no, and a local Express has only its own self-signed one: without this that
        // server is unreachable, where the provider this replaces never validated.
        login.connectString += Attribute("TrustServerCertificate", "yes", wide);
        // These drivers reconnect a broken link by themselves and replay the statement: a
        // server restart between two corrections would go unseen by the run.
        login.connectString += Attribute("ConnectRetryCount", "0", wide);
    }
    return login;
}

} // namespace flagwright::odbc
