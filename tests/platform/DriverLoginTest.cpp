#include "DriverLogin.h"

#include "Failure.h"

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

TEST(PreferredDriver, TakesTheDriverThatSpeaksToEveryEngineFirst)
{
    EXPECT_EQ(PreferredDriver({"FreeTDS", "ODBC Driver 18 for SQL Server", "SQL Server"}),
              "SQL Server");
    EXPECT_EQ(PreferredDriver(
                  {"FreeTDS", "ODBC Driver 17 for SQL Server", "ODBC Driver 18 for SQL Server"}),
              "ODBC Driver 18 for SQL Server");
    EXPECT_EQ(PreferredDriver({"FreeTDS", "ODBC Driver 17 for SQL Server"}),
              "ODBC Driver 17 for SQL Server");
    EXPECT_EQ(PreferredDriver({"PostgreSQL", "FreeTDS"}), "FreeTDS");
    EXPECT_EQ(PreferredDriver({"PostgreSQL", "freetds ", "SQL Server Native Client 11.0"}),
              std::nullopt);
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
        {"a}b", "DATABASE={a}b};"},
        {"ends}", "DATABASE={ends}};"},
        {"{x}}", "DATABASE={{x}}};"},
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

// FreeTDS ends a braced value at the first "};": such a name goes as the catalog attribute.
TEST(DriverLoginFor, FreeTdsGetsAnUnbraceableNameAsCatalogAttribute)
{
    const DriverLogin login = DriverLoginFor("FreeTDS", Loopback, Settings("x};DATABASE={master"));
    EXPECT_EQ(login.connectString, FreeTdsString(""));
    EXPECT_EQ(login.catalogAttribute, "x};DATABASE={master");
}

TEST(DriverLoginFor, NamesNoDriverCanCarryFail)
{
    // Beyond 128 UTF-16 units FreeTDS would send a shorter name: that of another database.
    for (const std::string& name :
         {std::string("a\0b", 3), std::string("x};😀"), std::string(129, 'n'),
          std::string(127, 'n') + "😀", "x};" + std::string(126, 'n')}) {
        try {
            DriverLoginFor("FreeTDS", Loopback, Settings(name));
            ADD_FAILURE() << "carried " << name;
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.Number(), 3001);
        }
    }
    EXPECT_THROW(
        DriverLoginFor("ODBC Driver 18 for SQL Server", Loopback, Settings(std::string("a\0b", 3))),
        Failure);
}

TEST(DriverLoginFor, MicrosoftDriversDoubleClosingBracesAndTakeTheInstanceByName)
{
    const DriverLogin login =
        DriverLoginFor("ODBC Driver 18 for SQL Server", Loopback, Settings("x};PWD={y}"));
    EXPECT_EQ(login.connectString,
              "DRIVER={ODBC Driver 18 for SQL Server};SERVER={tcp:127.0.0.1,50123};"
              "DATABASE={x}};PWD={y}}};UID={DBOPS};PWD={58GrUw3Hyb!!};Encrypt={no};");
    EXPECT_EQ(login.catalogAttribute, std::nullopt);

    EXPECT_EQ(DriverLoginFor("SQL Server", std::nullopt, Settings("Emberline")).connectString,
              "DRIVER={SQL Server};SERVER={(local)\\emberline2};DATABASE={Emberline};"
              "UID={DBOPS};PWD={58GrUw3Hyb!!};Encrypt={no};");
    // FreeTDS cannot find an instance by itself.
    EXPECT_THROW(DriverLoginFor("FreeTDS", std::nullopt, Settings("Emberline")), Failure);
}
} // namespace
