#include "platform/odbc/DriverLogin.h"

#include "platform/Failure.h"

#include <gtest/gtest.h>

using namespace flagwright;
using namespace flagwright::odbc;

namespace {
constexpr WideStrings LowBytes = WideStrings::LowBytes;
constexpr WideStrings Whole = WideStrings::Whole;
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
        const DriverLogin login =
            DriverLoginFor("FreeTDS", Loopback, Settings(c.database), LowBytes);
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
        const DriverLogin login = DriverLoginFor("FreeTDS", Loopback, Settings(name), LowBytes);
        EXPECT_EQ(login.connectString, FreeTdsString("")) << name;
        EXPECT_EQ(login.catalogAttribute, name);
    }
    const DriverLogin login =
        DriverLoginFor("ODBC Driver 18 for SQL Server", Loopback, Settings("x};PWD={y}"), LowBytes);
    EXPECT_EQ(login.connectString,
              "DRIVER={ODBC Driver 18 for SQL Server};SERVER={tcp:127.0.0.1,50123};"
              "UID={DBOPS};PWD={58GrUw3Hyb!!};Encrypt={no};TrustServerCertificate={yes};"
              "ConnectRetryCount={0};");
    EXPECT_EQ(login.catalogAttribute, "x};PWD={y}");
}

// How a name goes to each driver, as the driver manager in use reads wide strings: braced in
// the string, as the catalog attribute, or not at all (3001), never as another name. Beyond
// 128 UTF-16 units FreeTDS would send a shorter name: that of another database. unixODBC reads
// a UTF-16 unit by its low byte, "}" for U+017D, U+307D and the second half of U+1F47D, and
// hands the catalog attribute on the same way: only ASCII survives there. Microsoft's driver
// manager reads them whole, as the provider this replaces did.
TEST(DriverLoginFor, CarriesANameExactlyAsTheDriverManagerReadsItOrNotAtAll)
{
    enum How { Braced, AsAttribute, Refused };
    const struct {
        std::string name;
        How lowBytes;
        How whole;
    } rows[] = {
        {std::string("a\0b", 3), Refused, Refused},
        {std::string(129, 'n'), Refused, Refused},
        {std::string(127, 'n') + "😀", Refused, Refused},
        {"x};" + std::string(126, 'n'), Refused, Refused},
        {"lone\xED\xA0\x80", Refused, Refused},
        {"x};😀", Refused, AsAttribute},
        {"Zürich}", Refused, AsAttribute},
        {"Žilina", Refused, Braced},
        {"xŽ", Refused, Braced},
        {"ぽ", Refused, Braced},
        {"x👽", Refused, Braced},
        {"a}b", AsAttribute, AsAttribute},
        {"Zürich 😀", Braced, Braced},
    };
    for (const char* driver : {"FreeTDS", "ODBC Driver 18 for SQL Server"})
        for (const auto& row : rows)
            for (const auto& [wide, how] :
                 {std::pair{LowBytes, row.lowBytes}, {Whole, row.whole}}) {
                const std::string situation = std::string(driver) + ", " +
                                              (wide == LowBytes ? "low bytes: " : "whole: ") +
                                              ::testing::PrintToString(row.name);
                try {
                    const DriverLogin login =
                        DriverLoginFor(driver, Loopback, Settings(row.name), wide);
                    EXPECT_NE(how, Refused) << situation;
                    EXPECT_EQ(login.connectString.find("DATABASE={" + row.name + "};") !=
                                  std::string::npos,
                              how == Braced)
                        << situation;
                    EXPECT_EQ(login.catalogAttribute,
                              how == AsAttribute ? std::optional(row.name) : std::nullopt)
                        << situation;
                } catch (const Failure& failure) {
                    EXPECT_EQ(how, Refused) << situation;
                    EXPECT_EQ(failure.Number(), 3001) << situation;
                }
            }
    // The other values are constants and numbers; one that could not be braced fails too.
    ConnectionSettings settings = Settings("Emberline");
    settings.password = "x}DRIVER={/tmp/a.so}";
    EXPECT_THROW(DriverLoginFor("FreeTDS", Loopback, settings, LowBytes), Failure);
}

TEST(DriverLoginFor, MicrosoftDriversTakeTheInstanceByName)
{
    EXPECT_EQ(
        DriverLoginFor("SQL Server", std::nullopt, Settings("Emberline"), Whole).connectString,
        "DRIVER={SQL Server};SERVER={(local)\\emberline2};DATABASE={Emberline};"
        "UID={DBOPS};PWD={58GrUw3Hyb!!};Encrypt={no};");
    // FreeTDS cannot find an instance by itself.
    EXPECT_THROW(DriverLoginFor("FreeTDS", std::nullopt, Settings("Emberline"), LowBytes), Failure);
}
} // namespace

// The driver manager is asked, not assumed from the build: on Linux and under Wine, whose
// odbc32 hands every call to the host's unixODBC, it reads wide strings by their low bytes,
// and a name like "Žilina" is still refused there (end to end: tests/windows_e2e/cli.sh).
TEST(HowWideStringsAreRead, TheDriverManagerHereIsUnixOdbc)
{
    EXPECT_EQ(HowWideStringsAreRead(*SharedEnvironment()), WideStrings::LowBytes);
}
