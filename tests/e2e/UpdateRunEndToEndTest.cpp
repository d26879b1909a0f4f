#include "tests/e2e/CliProcess.h"
#include "tests/e2e/EndToEndFixture.h"

#include <chrono>
#include <fstream>

using namespace flagwright;
using namespace flagwright::e2e;

namespace {
TEST_F(EndToEnd, UpdatesOnceThenTheGateRefuses)
{
    const std::string db = sandbox.CopyDatabase("Emberline", OwnName());

    EXPECT_EQ(RunOn(db), std::vector<std::string>{SuccessBox});
    EXPECT_TRUE(IsCompleteRun(sandbox.Statements(db)));
    EXPECT_EQ(Default(db, "DBVersion"), "14.01.04");
    EXPECT_EQ(Default(db, "DBUpdateFrom"), "14.01.03");
    EXPECT_TRUE(AsAfterUpdate(sandbox.DatabaseFile(db)));
    EXPECT_EQ(Default(db, "CompanyCode"), "HSE");
    // The login asked for encryption wherever the server offers it; this one does not.
    EXPECT_EQ(sandbox.Status("client_encryption"), "off");
    ExpectConnectionClosed(db);

    const auto refusal = RunOn(db);
    ASSERT_EQ(refusal.size(), 1U);
    EXPECT_NE(refusal[0].find("does not need to be updated"), std::string::npos);
    EXPECT_EQ(sandbox.Statements(db).size(), CompleteRunLength + 1);
}

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

// The drivers are tried in turn, and only one that cannot reach the instance hands over to
// the next: here Microsoft's current driver is not installed where it is registered, and
// FreeTDS, registered as the previous one, cannot read the "tcp:" server Microsoft's drivers
// are given. With TDSHOST, FreeTDS reaches the instance under any server name: then the
// login the first reachable driver is refused ends the open, with one connection accepted.
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

    sandbox.Control(R"({"cmd":"faults","faults":{"refuse_logins":true}})");
    const int accepted = std::stoi(sandbox.Status("accepted"));
    EXPECT_EQ(RunCli(Cli({"update", db}, {{"ODBCSYSINI", registry}, {"TDSHOST", "127.0.0.1"}})),
              FailedWith("Login failed.  Please try again."));
    EXPECT_EQ(std::stoi(sandbox.Status("accepted")), accepted + 1);
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
