#include "platform/odbc/DriverLogin.h"

#include "platform/Failure.h"

#include <gtest/gtest.h>

using namespace flagwright;
using namespace flagwright::odbc;

namespace {
const Endpoint Loopback{"127.0.0.1", 50123};

ConnectionSettings Settings(const std::string& database)
{
    ConnectionSettings settings;
    settings.server = "(local)";
    settings.instance = "emberline2";
    settings.database = database;
    settings.login = "DBOPS";
    settings.password = "58GrUw3Hyb!!";
    return settings;
}

std::string FreeTdsString(const std::string& databaseAttribute)
{
    return "DRIVER={FreeTDS};SERVER={127.0.0.1};PORT={50123};UID={DBOPS};PWD={58GrUw3Hyb!!};" +
           databaseAttribute + "TDS_Version={7.4};ClientCharset={UTF-8};Encryption={request};";
}

TEST(DriversInTurn, CurrentMicrosoftDriversFirstThenTheLegacyOneThenFreeTds)
{
    EXPECT_EQ(DriversInTurn({"FreeTDS", "SQL Server", "ODBC Driver 17 for SQL Server", "PostgreSQL",
                             "ODBC Driver 18 for SQL Server"}),
              (std::vector<std::string>{"ODBC Driver 18 for SQL Server",
                                        "ODBC Driver 17 for SQL Server", "SQL Server", "FreeTDS"}));
    EXPECT_EQ(DriversInTurn({"PostgreSQL", "freetds ", "SQL Server Native Client 11.0"}),
              std::vector<std::string>{});
}

// Microsoft's drivers on Windows are given the instance by name, as the provider they
// replace was, so that shared memory and named pipes work where TCP is switched off.
TEST(DriverFindsInstance, OnlyMicrosoftDriversOnWindows)
{
#ifdef _WIN32
    EXPECT_TRUE(DriverFindsInstance("SQL Server"));
    EXPECT_TRUE(DriverFindsInstance("ODBC Driver 18 for SQL Server"));
#else
    EXPECT_FALSE(DriverFindsInstance("SQL Server"));
    EXPECT_FALSE(DriverFindsInstance("ODBC Driver 18 for SQL Server"));
#endif
    EXPECT_FALSE(DriverFindsInstance("FreeTDS"));
}

TEST(DriverLoginFor, FreeTdsGetsEveryValueBracedAndTerminated)
{
    const struct {
        std::string database;
        std::string attribute;
    } cases[] = {
        {"Emberline", "DATABASE={Emberline};"},
        {"", ""}, // the login's own database
        {" Ember line ", "DATABASE={ Ember line };"},
        {"a;UID=sa;PWD=x", "DATABASE={a;UID=sa;PWD=x};"},
        {"{x", "DATABASE={{x};"},
        {"O'Brien \"q\" [s],=", "DATABASE={O'Brien \"q\" [s],=};"},
        {"Zürich 😀", "DATABASE={Zürich 😀};"},
        {std::string(128, 'n'), "DATABASE={" + std::string(128, 'n') + "};"},
        {std::string(126, 'n') + "😀", "DATABASE={" + std::string(126, 'n') + "😀};"},
    };
    for (const auto& c : cases) {
        const DriverLogin login = DriverLoginFor("FreeTDS", Loopback, Settings(c.database));
        EXPECT_EQ(login.connectString, FreeTdsString(c.attribute)) << c.database;
        EXPECT_EQ(login.catalogAttribute, std::nullopt) << c.database;
    }
}

// unixODBC ends a braced value at the first "}", FreeTDS at the first "};": a name with "}"
// goes as the catalog attribute, for every driver.
TEST(DriverLoginFor, NamesWithClosingBracesGoAsCatalogAttribute)
{
    for (const char* name :
         {"x};DATABASE={master", "x}DRIVER={/tmp/a.so}x", "a}b", "ends}", "{x}}"}) {
        const DriverLogin login = DriverLoginFor("FreeTDS", Loopback, Settings(name));
        EXPECT_EQ(login.connectString, FreeTdsString("")) << name;
        EXPECT_EQ(login.catalogAttribute, name);
    }
    const DriverLogin login =
        DriverLoginFor("ODBC Driver 18 for SQL Server", Loopback, Settings("x};PWD={y}"));
    EXPECT_EQ(login.connectString,
              "DRIVER={ODBC Driver 18 for SQL Server};SERVER={tcp:127.0.0.1,50123};"
              "UID={DBOPS};PWD={58GrUw3Hyb!!};Encrypt={no};TrustServerCertificate={yes};"
              "ConnectRetryCount={0};");
    EXPECT_EQ(login.catalogAttribute, "x};PWD={y}");
}

// Beyond 128 UTF-16 units FreeTDS would send a shorter name: that of another database.
// unixODBC reads a UTF-16 unit by its low byte, "}" for U+017D and for the second half of
// U+1F47D, and hands the catalog attribute on the same way: only ASCII survives there.
TEST(DriverLoginFor, NamesNoDriverCanCarryFail)
{
    for (const char* driver : {"FreeTDS", "ODBC Driver 18 for SQL Server"})
        for (const std::string& name :
             {std::string("a\0b", 3), std::string("x};😀"), std::string(129, 'n'),
              std::string(127, 'n') + "😀", "x};" + std::string(126, 'n'), std::string("xŽ"),
              std::string("x👽"), std::string("Zürich}"), std::string("lone\xED\xA0\x80")}) {
            try {
                DriverLoginFor(driver, Loopback, Settings(name));
                ADD_FAILURE() << driver << " carried " << name;
            } catch (const Failure& failure) {
                EXPECT_EQ(failure.Number(), 3001);
            }
        }
    // The other values are constants and numbers; one that could not be braced fails too.
    ConnectionSettings settings = Settings("Emberline");
    settings.password = "x}DRIVER={/tmp/a.so}";
    EXPECT_THROW(DriverLoginFor("FreeTDS", Loopback, settings), Failure);
}

TEST(DriverLoginFor, MicrosoftDriversTakeTheInstanceByName)
{
    EXPECT_EQ(DriverLoginFor("SQL Server", std::nullopt, Settings("Emberline")).connectString,
              "DRIVER={SQL Server};SERVER={(local)\\emberline2};DATABASE={Emberline};"
              "UID={DBOPS};PWD={58GrUw3Hyb!!};Encrypt={no};");
    // FreeTDS cannot find an instance by itself.
    EXPECT_THROW(DriverLoginFor("FreeTDS", std::nullopt, Settings("Emberline")), Failure);
}
} // namespace
