#include "discovery/OfferedDatabases.h"
#include "platform/Product.h"
#include "tests/support/ScriptedConnection.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

using namespace flagwright;
using namespace flagwright::testing;

namespace {
using Names = std::vector<std::string>;

class OfferedDatabasesTest : public ::testing::Test {
protected:
    std::vector<std::string> log;
    std::shared_ptr<ConnectionScript> script = std::make_shared<ConnectionScript>();

    Names Offer(const std::vector<std::pair<Variant, Variant>>& databases)
    {
        script->catalogResult = CatalogRows(databases);
        return OfferedDatabases(ScriptedConnection::Factory(script), EmberlineInstance());
    }
};
} // namespace

// Master, not the login's default database, which may be offline, restoring or gone.
TEST_F(OfferedDatabasesTest, ReadsTheCatalogOverOneConnectionToMaster)
{
    script->log = &log;
    EXPECT_EQ(Offer({{"Emberline", "0"}, {"Reports", "0"}}), (Names{"Emberline", "Reports"}));
    EXPECT_EQ(log, (std::vector<std::string>{"cn1.New", "cn1.Open(master)", "cn1.CommandTimeout",
                                             "cn1.Execute", "cn1.Close", "cn1.Release"}));
    ASSERT_EQ(script->opened.size(), 1u);
    EXPECT_EQ(script->opened[0].server, "(local)");
    EXPECT_EQ(script->opened[0].instance, "emberline2");
    EXPECT_EQ(script->opened[0].login, "DBOPS");
    EXPECT_EQ(script->statements,
              std::vector<std::string>{
                  "SELECT name, dbid, CASE WHEN dbid <= 4 OR (category & 16) = 16 THEN 1 ELSE 0 "
                  "END AS IsSystem FROM master.dbo.sysdatabases ORDER BY name"});
}

// The window waits for the list: the query gets what the login left of one deadline.
TEST_F(OfferedDatabasesTest, TheWholeListingHasOneDeadline)
{
    script->openTakes = std::chrono::milliseconds(300);
    EXPECT_EQ(Offer({{"Emberline", "0"}}), Names{"Emberline"});
    ASSERT_EQ(script->commandTimeouts.size(), 1u);
    EXPECT_LE(script->commandTimeouts[0], std::chrono::milliseconds(14700));
    EXPECT_GT(script->commandTimeouts[0], std::chrono::milliseconds(14000));
}

TEST_F(OfferedDatabasesTest, LeavesOutSystemDatabasesAndExactlyTheSupportDatabase)
{
    EXPECT_EQ(Offer({{"distribution", "1"},
                     {"Emberline", "0"},
                     {"EmberlineSupport", "0"},
                     {"EmberlineSupport2", "0"},
                     {"emberlinesupport", "0"},
                     {"master", "1"},
                     {"model", "1"},
                     {"msdb", "1"},
                     {"tempdb", "1"}}),
              (Names{"Emberline", "EmberlineSupport2", "emberlinesupport"}));
    EXPECT_EQ(Offer({{"master", "1"}, {"EmberlineSupport", "0"}}), Names{});
}

TEST_F(OfferedDatabasesTest, ReadsTheSystemFlagFirstAndSkipsTheNameOfASystemDatabase)
{
    EXPECT_EQ(Offer({{std::nullopt, "1"}, {"Emberline", "0"}}), Names{"Emberline"});
}

TEST_F(OfferedDatabasesTest, KeepsCatalogOrderDuplicatesBlanksAndCommas)
{
    EXPECT_EQ(Offer({{"Zeta", "0"},
                     {"Emberline Training", "0"},
                     {"Alpha", "0"},
                     {"Alpha", "0"},
                     {"Sales,2020", "0"}}),
              (Names{"Zeta", "Emberline Training", "Alpha", "Alpha", "Sales,2020"}));
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
    auto script = std::make_shared<ConnectionScript>();
    script->catalogResult = CatalogRows({{"Emberline", "0"}});
    GetParam().breakIt(*script);

    EXPECT_EQ(OfferedDatabases(ScriptedConnection::Factory(script), EmberlineInstance()), Names{});
    EXPECT_EQ(script->created, 1);
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

// Only what the server says plainly keeps a database from its run; an in-use single-user
// database and a name that is no database any more are left to their runs to fail.
TEST(AvailabilityOf, OnlyWhatTheServerSaysPlainly)
{
    using State = DatabaseAvailability::State;
    const Variant null;
    const struct {
        Variant hasAccess, status, userAccess, updateability;
        State state;
        std::string word;
        bool readOnly;
    } rows[] = {
        {"1", "ONLINE", "MULTI_USER", "READ_WRITE", State::MayOpen, "", false},
        {"0", "ONLINE", "MULTI_USER", "READ_WRITE", State::NoAccess, "", false},
        {"0", "ONLINE", "RESTRICTED_USER", "READ_WRITE", State::Restricted, "", false},
        {"1", "ONLINE", "RESTRICTED_USER", "READ_WRITE", State::MayOpen, "", false},
        {"0", "ONLINE", "SINGLE_USER", "READ_WRITE", State::MayOpen, "", false},
        {"0", "OFFLINE", "MULTI_USER", null, State::NotOnline, "OFFLINE", false},
        {"0", "RESTORING", null, null, State::NotOnline, "RESTORING", false},
        {null, null, null, null, State::MayOpen, "", false},
        {"0", "NEW\tSTATE", "SINGLE_USER", null, State::NotOnline, "NEW\tSTATE", false},
        {"1", "", null, null, State::MayOpen, "", false},
        {"1", "ONLINE", "MULTI_USER", "READ_ONLY", State::MayOpen, "", true},
        {"0", "ONLINE", "RESTRICTED_USER", "READ_ONLY", State::Restricted, "", true},
    };
    for (const auto& row : rows) {
        const DatabaseAvailability told =
            AvailabilityOf(row.hasAccess, row.status, row.userAccess, row.updateability);
        EXPECT_EQ(std::tie(told.state, told.status, told.readOnly),
                  std::tie(row.state, row.word, row.readOnly))
            << row.hasAccess.value_or("NULL") << " " << row.status.value_or("NULL") << " "
            << row.userAccess.value_or("NULL") << " " << row.updateability.value_or("NULL");
    }
}

// One question per database, by the id the listing read, on a login of its own to master; an
// answer about another database, or none, tells nothing.
TEST_F(OfferedDatabasesTest, AsksOneDatabaseByItsIdJustThen)
{
    const std::string question = DatabaseAvailabilityQuery(7);
    const std::vector<std::string> columns = {"name", "HasAccess", "Status", "UserAccess",
                                              "Updateability"};
    script->answers = {{question,
                        Recordset(columns, {{"Copy", "1", "ONLINE", "MULTI_USER", "READ_ONLY"}}),
                        std::nullopt}};
    EXPECT_TRUE(AvailabilityNow(ScriptedConnection::Factory(script), EmberlineInstance(),
                                OfferedDatabase{"Copy", 7})
                    .readOnly);
    EXPECT_EQ(script->statements, std::vector<std::string>{question});
    EXPECT_EQ(question.substr(question.size() - 43), "FROM master.dbo.sysdatabases WHERE dbid = 7");
    ASSERT_EQ(script->opened.size(), 1u);
    EXPECT_EQ(script->opened[0].database, "master");

    for (const auto& [answer, failure] : std::vector<std::pair<Recordset, std::optional<Failure>>>{
             {Recordset(columns, {{"copy", "1", "ONLINE", "MULTI_USER", "READ_ONLY"}}), {}},
             {Recordset(columns, {}), {}},
             {{}, Failure(failure_code::Timeout, "Timeout expired")}}) {
        script->answers = {{question, answer, failure}};
        const DatabaseAvailability told = AvailabilityNow(
            ScriptedConnection::Factory(script), EmberlineInstance(), OfferedDatabase{"Copy", 7});
        EXPECT_EQ(told.state, DatabaseAvailability::State::MayOpen);
        EXPECT_FALSE(told.readOnly);
    }
    EXPECT_EQ(script->live, 0);
}
