#include "DatabaseList.h"
#include "RecordingWindow.h"
#include "ScriptedConnection.h"

#include <gtest/gtest.h>

#include <functional>

using namespace flagwright;
using namespace flagwright::testing;

namespace {
const std::string InstanceLogin =
    "provider=SQLOLEDB;Persist security info=False;user id=DBOPS;pwd=58GrUw3Hyb!!;"
    "data source=(local)\\emberline2;connect timeout = 15";

class DatabaseListTest : public ::testing::Test {
protected:
    RecordingWindow combo;
    std::shared_ptr<ConnectionScript> script = std::make_shared<ConnectionScript>();
    ConnectionFactory factory = ScriptedConnection::Factory(script);

    void Offer(const std::vector<std::pair<Variant, Variant>>& databases)
    {
        script->catalogResult = CatalogRows(databases);
    }
};
} // namespace

TEST_F(DatabaseListTest, ReadsTheCatalogOverOneConnectionWithoutInitialCatalog)
{
    script->log = &combo.calls;
    combo.items = {"stale"};
    combo.text = "typed";
    Offer({{"Emberline", "0"}, {"Reports", "0"}});

    LoadDatabaseList(combo, factory);

    EXPECT_EQ(combo.calls, (std::vector<std::string>{
                               "Clear", "cn1.New", "cn1.ConnectionString(" + InstanceLogin + ")",
                               "cn1.Open", "cn1.Execute", "cn1.Close", "cn1.Release",
                               "AddItem(Emberline)", "AddItem(Reports)"}));
    EXPECT_EQ(script->statements,
              std::vector<std::string>{
                  "SELECT name, CASE WHEN dbid <= 4 OR (category & 16) = 16 THEN 1 ELSE 0 END "
                  "AS IsSystem FROM master.dbo.sysdatabases ORDER BY name"});
    EXPECT_EQ(combo.text, "");
}

TEST_F(DatabaseListTest, LeavesOutSystemDatabasesAndExactlyTheSupportDatabase)
{
    Offer({{"distribution", "1"},
           {"Emberline", "0"},
           {"EmberlineSupport", "0"},
           {"EmberlineSupport2", "0"},
           {"emberlinesupport", "0"},
           {"master", "1"},
           {"model", "1"},
           {"msdb", "1"},
           {"tempdb", "1"}});
    EXPECT_EQ(GetDatabaseList(factory), "Emberline,EmberlineSupport2,emberlinesupport");
}

TEST_F(DatabaseListTest, ReadsTheSystemFlagFirstAndSkipsTheNameOfASystemDatabase)
{
    Offer({{std::nullopt, "1"}, {"Emberline", "0"}});
    EXPECT_EQ(GetDatabaseList(factory), "Emberline");
}

TEST_F(DatabaseListTest, KeepsCatalogOrderDuplicatesAndBlanks)
{
    Offer({{"Zeta", "0"}, {"Emberline Training", "0"}, {"Alpha", "0"}, {"Alpha", "0"}});
    EXPECT_EQ(GetDatabaseList(factory), "Zeta,Emberline Training,Alpha,Alpha");
}

TEST_F(DatabaseListTest, ASingleDatabaseHasNoSeparator)
{
    Offer({{"Emberline", "0"}});
    EXPECT_EQ(GetDatabaseList(factory), "Emberline");
    LoadDatabaseList(combo, factory);
    EXPECT_EQ(combo.items, std::vector<std::string>{"Emberline"});
}

TEST_F(DatabaseListTest, ANameHoldingACommaIsOfferedWhole)
{
    Offer({{"Emberline", "0"}, {"Sales,2020", "0"}});

    EXPECT_EQ(GetDatabaseNames(factory), (std::vector<std::string>{"Emberline", "Sales,2020"}));
    EXPECT_EQ(GetDatabaseList(factory), "Emberline,Sales,2020");
    LoadDatabaseList(combo, factory);
    EXPECT_EQ(combo.items, (std::vector<std::string>{"Emberline", "Sales,2020"}));
}

TEST_F(DatabaseListTest, NoDatabasesGiveNoItems)
{
    Offer({{"master", "1"}, {"EmberlineSupport", "0"}});
    LoadDatabaseList(combo, factory);
    EXPECT_EQ(combo.calls, std::vector<std::string>{"Clear"});
}

namespace {
struct BrokenCatalog {
    const char* name;
    std::function<void(ConnectionScript&)> breakIt;
};

std::ostream& operator<<(std::ostream& os, const BrokenCatalog& c) { return os << c.name; }

Recordset TwoGoodRowsThen(std::pair<Variant, Variant> third)
{
    return CatalogRows({{"Emberline", "0"}, {"Reports", "0"}, third, {"Staging", "0"}});
}

class DatabaseListFailure : public ::testing::TestWithParam<BrokenCatalog> {};
} // namespace

TEST_P(DatabaseListFailure, GivesNoNamesSilentlyAndReleasesTheConnection)
{
    RecordingWindow combo;
    auto script = std::make_shared<ConnectionScript>();
    script->catalogResult = CatalogRows({{"Emberline", "0"}});
    GetParam().breakIt(*script);

    EXPECT_EQ(GetDatabaseList(ScriptedConnection::Factory(script)), "");
    script->statements.clear();
    LoadDatabaseList(combo, ScriptedConnection::Factory(script));

    EXPECT_EQ(combo.calls, std::vector<std::string>{"Clear"});
    EXPECT_EQ(script->created, 2);
    EXPECT_EQ(script->live, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Catalog, DatabaseListFailure,
    ::testing::Values(
        BrokenCatalog{"LoginRefused",
                      [](ConnectionScript& s) {
                          s.openFailure = Failure(failure_code::AuthenticationFailed,
                                                  "Login failed for user 'DBOPS'.");
                      }},
        BrokenCatalog{"InstanceDown",
                      [](ConnectionScript& s) {
                          s.openFailure = Failure(failure_code::Unspecified,
                                                  "SQL Server does not exist or access denied.");
                      }},
        BrokenCatalog{"OpenLeavesClosed", [](ConnectionScript& s) { s.openLeavesClosed = true; }},
        BrokenCatalog{"QueryFails",
                      [](ConnectionScript& s) {
                          s.failAtExecute = 1;
                          s.executeFailure = Failure(failure_code::StatementError, "denied");
                      }},
        BrokenCatalog{"ThirdNameIsNull",
                      [](ConnectionScript& s) {
                          s.catalogResult = TwoGoodRowsThen({std::nullopt, "0"});
                      }},
        BrokenCatalog{"ThirdFlagIsNull",
                      [](ConnectionScript& s) {
                          s.catalogResult = TwoGoodRowsThen({"Archive", std::nullopt});
                      }},
        BrokenCatalog{"ThirdFlagIsNotANumber",
                      [](ConnectionScript& s) {
                          s.catalogResult = TwoGoodRowsThen({"Archive", "yes"});
                      }},
        BrokenCatalog{
            "NoFlagColumn",
            [](ConnectionScript& s) { s.catalogResult = Recordset({"name"}, {{"Emberline"}}); }},
        BrokenCatalog{"CloseFails",
                      [](ConnectionScript& s) {
                          s.closeFailure = Failure(failure_code::Unspecified, "link lost");
                      }}),
    [](const ::testing::TestParamInfo<BrokenCatalog>& param) { return param.param.name; });
