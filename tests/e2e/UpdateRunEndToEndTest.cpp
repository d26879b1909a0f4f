#include "tests/e2e/CliProcess.h"
#include "tests/e2e/EndToEndFixture.h"

#include "discovery/OfferedDatabases.h"

#include <chrono>
#include <fstream>
#include <regex>

using namespace flagwright;
using namespace flagwright::e2e;

namespace {
// The server an operator has: MSDE 2000 without a certificate, or a current Express, which
// always encrypts the login with its self-signed certificate, and where "Force Encryption" is
// on, the whole connection.
struct Server {
    const char* name;
    const char* settings;
    const char* loginTls; // how each login arrived, as the instance recorded it
};

std::ostream& operator<<(std::ostream& os, const Server& server) { return os << server.name; }

class MainPath : public EndToEnd, public ::testing::WithParamInterface<Server> {};

// How the latest `count` logins arrived: "tls whole" for each, oldest first.
std::vector<std::string> LatestLogins(const std::string& logins, std::size_t count)
{
    static const std::regex entry(R"re("tls": (true|false), "whole": (true|false))re");
    std::vector<std::string> arrived;
    for (auto it = std::sregex_iterator(logins.begin(), logins.end(), entry);
         it != std::sregex_iterator(); ++it)
        arrived.push_back((*it)[1].str() + " " + (*it)[2].str());
    return {arrived.end() - std::min(count, arrived.size()), arrived.end()};
}

// The window's list, the check and the update over the real driver stack, on each server.
TEST_P(MainPath, ListsChecksUpdatesOnceThenTheGateRefuses)
{
    sandbox.Control(std::string(R"({"cmd":"settings","settings":)") + GetParam().settings + "}");
    const std::string db = sandbox.CopyDatabase("Emberline", OwnName());

    const std::vector<std::string> offered = OfferedDatabases(
        [] { return std::make_unique<odbc::OdbcConnection>(); }, EmberlineInstance());
    EXPECT_NE(std::find(offered.begin(), offered.end(), db), offered.end());
    EXPECT_EQ(RunOn(db), std::vector<std::string>{SuccessBox});
    EXPECT_TRUE(IsCompleteRun(sandbox.Statements(db)));
    EXPECT_EQ(Default(db, "DBVersion"), "14.01.04");
    EXPECT_EQ(Default(db, "DBUpdateFrom"), "14.01.03");
    EXPECT_TRUE(AsAfterUpdate(sandbox.DatabaseFile(db)));
    EXPECT_EQ(Default(db, "CompanyCode"), "HSE");
    // The login asked for encryption wherever the server offers it.
    EXPECT_EQ(sandbox.Status("client_encryption"), "off");
    ExpectConnectionClosed(db);

    const auto refusal = RunOn(db);
    ASSERT_EQ(refusal.size(), 1U);
    EXPECT_NE(refusal[0].find("does not need to be updated"), std::string::npos);
    EXPECT_EQ(sandbox.Statements(db).size(), CompleteRunLength + 1);
    const Finished checked = RunCli(Cli({"check", db}));
    EXPECT_EQ(checked.out, db + ": up to date (14.01.04): 0 of 791 to change, 791 already "
                                "corrected, 0 missing\n")
        << checked.err;
    // The list, both runs, and the check: its reads, the catalog and the question.
    EXPECT_EQ(LatestLogins(sandbox.Status("logins"), 6),
              std::vector<std::string>(6, GetParam().loginTls));
}

INSTANTIATE_TEST_SUITE_P(
    Servers, MainPath,
    ::testing::Values(Server{"Msde2000", "{}", "false false"},
                      Server{"Express2019", R"({"persona":"2019"})", "true false"},
                      Server{"ForceEncryption", R"({"persona":"2019","encrypt":"all"})",
                             "true true"}),
    [](const ::testing::TestParamInfo<Server>& param) { return param.param.name; });

TEST_F(EndToEnd, NamesReachTheServerExactlyAndOpenOnlyThatDatabase)
{
    for (const std::string name : {"E2E O'Brien; a=b", "E2E x};y", "E2E Zürich Nord 😀"}) {
        sandbox.CopyDatabase("Emberline", name);
        const auto logged = sandbox.Batches().size();
        EXPECT_EQ(RunOn(name), std::vector<std::string>{SuccessBox}) << name;
        EXPECT_TRUE(IsCompleteRun(sandbox.Statements(name))) << name;
        EXPECT_EQ(Default(name, "DBVersion"), "14.01.04") << name;
        for (const auto& [database, statement] : sandbox.Batches(logged))
            EXPECT_EQ(database, name) << statement;
    }
}

TEST_F(EndToEnd, VersionsOtherThan140103AreLeftAlone)
{
    const std::string db = sandbox.CopyDatabase("EmberlineArchive", OwnName());
    const auto messages = RunOn(db);
    ASSERT_EQ(messages.size(), 1U);
    EXPECT_NE(messages[0].find("only necessary for database version 14.01.03"), std::string::npos);
    EXPECT_EQ(sandbox.Statements(db), std::vector<std::string>{VersionQuery});
    EXPECT_EQ(Default(db, "DBVersion"), "14.01.04");
}

TEST_F(EndToEnd, DatabaseWithoutVersionRowKeepsItsConnectionOpen)
{
    const std::string db = sandbox.CopyDatabase("Staging", OwnName());
    EXPECT_EQ(RunOn(db), std::vector<std::string>{flagwright::testing::MsgBoxCall(
                             "Database is not an Emberline database.", 48, "")});
    EXPECT_EQ(sandbox.ConnectionsTo(db), 1) << "the run keeps this connection open";
    EXPECT_EQ(sandbox.Statements(db), std::vector<std::string>{VersionQuery});
}

TEST_F(EndToEnd, DatabaseWithoutDefaultsIsNotEmberline)
{
    const std::string db = sandbox.CopyDatabase("Reports", OwnName());
    EXPECT_EQ(RunOn(db), std::vector<std::string>{NotEmberlineBox});
    ExpectConnectionClosed(db);
}

TEST_F(EndToEnd, RefusedLoginAndMissingDatabaseAreReported)
{
    const std::string db = sandbox.CopyDatabase("Emberline", OwnName());
    sandbox.Control(R"({"cmd":"faults","faults":{"refuse_logins":true}})");
    EXPECT_EQ(RunOn(db), std::vector<std::string>{LoginFailedBox});
    sandbox.Control(R"({"cmd":"faults","faults":{}})");
    EXPECT_EQ(RunOn("E2E no such database"), std::vector<std::string>{InUseBox});
    EXPECT_TRUE(sandbox.Statements(db).empty());
}

TEST_F(EndToEnd, DatabaseHeldByAnotherConnectionIsReported)
{
    const std::string db = sandbox.CopyDatabase("Emberline", OwnName());
    std::ofstream(sandbox.DatabaseFile(db).substr(0, sandbox.DatabaseFile(db).size() - 7) +
                  ".single-user");
    ConnectionSettings settings = EmberlineInstance();
    settings.database = db;
    odbc::OdbcConnection holder;
    holder.Open(settings);
    EXPECT_EQ(RunOn(db), std::vector<std::string>{InUseBox});
    EXPECT_EQ(Default(db, "DBVersion"), "14.01.03");
}

// No SQL Server driver installed, or one whose library is gone: the operator is told that,
// not that the database is in use.
TEST_F(EndToEnd, AMissingDriverIsNamedAsSuch)
{
    const std::string db = sandbox.CopyDatabase("Emberline", OwnName());
    const std::string registry = sandbox.NewFolder();
    const std::string broken = sandbox.NewFolder();
    std::ofstream(broken + "/odbcinst.ini") << "[FreeTDS]\nDriver=/nonexistent/libtdsodbc.so\n";
    for (const std::string& folder : {registry, broken})
        EXPECT_EQ(RunCli(Cli({"update", db}, {{"ODBCSYSINI", folder}})),
                  FailedWith("Error Number: 3706\n  Error Description: Provider cannot be found. "
                             "It may not be properly installed."))
            << folder;
    EXPECT_TRUE(sandbox.Statements(db).empty());
}

// The drivers are tried in turn, and only one that got no answer from the server hands over to
// the next: here Microsoft's current driver is not installed where it is registered, and
// FreeTDS, registered as the previous one, cannot read the "tcp:" server Microsoft's drivers
// are given. With TDSHOST, FreeTDS reaches the instance under any server name: then whatever
// refusal the server sends the first reachable driver ends the open, with one connection
// accepted; a server in script upgrade mode, after a cumulative update, too.
TEST_F(EndToEnd, DriversAreTriedInTurnUntilOneReachesTheInstance)
{
    const std::string db = sandbox.CopyDatabase("Emberline", OwnName());
    const std::string registry = sandbox.NewFolder();
    std::ofstream(registry + "/odbcinst.ini")
        << "[ODBC Driver 18 for SQL Server]\nDriver=/nonexistent/libmsodbcsql-18.so\n"
           "[ODBC Driver 17 for SQL Server]\nDriver=libtdsodbc.so\n"
           "[FreeTDS]\nDriver=libtdsodbc.so\n";
    EXPECT_EQ(RunCli(Cli({"update", db}, {{"ODBCSYSINI", registry}})), Updated);
    EXPECT_EQ(Default(db, "DBVersion"), "14.01.04");

    for (const char* refusal : {"true", "18401"}) {
        sandbox.Control(std::string(R"({"cmd":"faults","faults":{"refuse_logins":)") + refusal +
                        "}}");
        const int accepted = std::stoi(sandbox.Status("accepted"));
        EXPECT_EQ(RunCli(Cli({"update", db}, {{"ODBCSYSINI", registry}, {"TDSHOST", "127.0.0.1"}})),
                  FailedWith("Login failed.  Please try again."))
            << refusal;
        EXPECT_EQ(std::stoi(sandbox.Status("accepted")), accepted + 1) << refusal;
    }
}

TEST_F(EndToEnd, StoppedInstanceFailsWithinASecond)
{
    const std::string db = sandbox.CopyDatabase("Emberline", OwnName());
    sandbox.Control(R"({"cmd":"stop"})");
    const auto start = std::chrono::steady_clock::now();
    const auto messages = RunOn(db);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    sandbox.Control(R"({"cmd":"start"})");
    EXPECT_EQ(messages, std::vector<std::string>{InUseBox});
    EXPECT_LT(elapsed, std::chrono::seconds(1));
}
} // namespace
