#include "corrections/KindCodeCorrections.h"
#include "platform/Product.h"
#include "tests/support/RecordingWindow.h"
#include "tests/support/ScriptedConnection.h"
#include "update/UpdateRun.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace flagwright;
using namespace flagwright::testing;

namespace {
const std::string Hourglass = "Pointer(11)";
const std::string Arrow = "Pointer(0)";
const std::string VersionQuery = "Select Value from Defaults where ID = 'DBVersion'";
const std::string Success = MsgBoxCall("Update successful.", 64, "Congratulations");
const std::string Refusal =
    MsgBoxCall("This database does not need to be updated.\r\n\r\nThis update is only necessary "
               "for database version 14.01.03 ",
               0, "Emberline Flagwright Message");

class UpdateRunTest : public ::testing::Test {
protected:
    RecordingWindow window;
    std::shared_ptr<ConnectionScript> script = std::make_shared<ConnectionScript>();
    UpdateRun run{window, ScriptedConnection::Factory(script), EmberlineInstance()};

    void SetUp() override { script->log = &window.calls; }

    RunOutcome RunWithVersion(const Variant& version, const std::string& database = "Emberline")
    {
        script->versionResult = VersionRows({version});
        return run.Run(database);
    }

    // Position of a logged call; fails the test when it is missing.
    std::size_t At(const std::string& call) const
    {
        const auto it = std::find(window.calls.begin(), window.calls.end(), call);
        EXPECT_NE(it, window.calls.end()) << "no call " << call;
        return static_cast<std::size_t>(it - window.calls.begin());
    }
    std::string Failure(const std::string& message) const
    {
        return MsgBoxCall(message, 0, "Rate Update Error");
    }
};
} // namespace

TEST_F(UpdateRunTest, EmptySelectionShowsItsMessageAndTouchesNothingElse)
{
    EXPECT_EQ(run.Run(""), RunOutcome::NoDatabase);
    EXPECT_EQ(window.calls, std::vector<std::string>{MsgBoxCall("No database selected.", 0)});
    EXPECT_EQ(script->created, 0);
}

TEST_F(UpdateRunTest, SuccessAppliesTheTableThenBothStampsThenReports)
{
    EXPECT_EQ(RunWithVersion("14.01.03"), RunOutcome::Updated);

    ASSERT_EQ(script->statements.size(), 794u);
    EXPECT_EQ(script->statements.front(), VersionQuery);
    for (std::size_t i = 0; i < 791; ++i)
        ASSERT_EQ(script->statements[i + 1], CorrectionStatement(KindCodeCorrections[i]));
    EXPECT_EQ(script->statements[792],
              "UPDATE Defaults SET Value = '14.01.03' WHERE ID = 'DBUpdateFrom'");
    EXPECT_EQ(script->statements[793],
              "UPDATE Defaults SET Value = '14.01.04' WHERE ID = 'DBVersion'");

    EXPECT_EQ(window.Messages(), std::vector<std::string>{Success});
    // Hourglass before connecting and again just before opening; the message while it is
    // still up; then the close, then the arrow.
    EXPECT_EQ(window.calls[0], Hourglass);
    EXPECT_EQ(window.calls[1], "cn1.New");
    EXPECT_EQ(window.calls[2], Hourglass);
    EXPECT_EQ(window.calls[3], "cn1.Open(Emberline)");
    const std::vector<std::string> tail(window.calls.end() - 4, window.calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{Success, "cn1.Close", "cn1.Release", Arrow}));
    EXPECT_EQ(script->live, 0);

    // The fixed instance and login, and the picked name as the initial catalog.
    ASSERT_EQ(script->opened.size(), 1u);
    const ConnectionSettings& settings = script->opened[0];
    EXPECT_EQ(settings.server, "(local)");
    EXPECT_EQ(settings.instance, "emberline2");
    EXPECT_EQ(settings.port, std::nullopt);
    EXPECT_EQ(settings.database, "Emberline");
    EXPECT_EQ(settings.login, "DBOPS");
    EXPECT_EQ(settings.password, "58GrUw3Hyb!!");
    EXPECT_EQ(settings.connectTimeout, std::chrono::seconds(15));
}

TEST_F(UpdateRunTest, ConnectionThatDoesNotOpenIsReportedAndKept)
{
    script->openLeavesClosed = true;
    EXPECT_EQ(run.Run("Emberline"), RunOutcome::Failed);
    EXPECT_EQ(window.Messages(), std::vector<std::string>{MsgBoxCall("Could not open the database.",
                                                                     48, "Database Error")});
    EXPECT_EQ(window.calls.back(), Arrow);
    EXPECT_TRUE(script->statements.empty());
    EXPECT_EQ(script->live, 1);
}

TEST_F(UpdateRunTest, MissingVersionRowLeavesTheConnectionOpenUntilTheNextRun)
{
    script->versionResult = Recordset({"Value"}, {});
    EXPECT_EQ(run.Run("Emberline"), RunOutcome::NotEmberline);
    const std::vector<std::string> tail(window.calls.end() - 3, window.calls.end());
    EXPECT_EQ(tail,
              (std::vector<std::string>{
                  "cn1.Execute", MsgBoxCall("Database is not an Emberline database.", 48), Arrow}));
    EXPECT_EQ(script->live, 1);

    // The next run releases (and so closes) it before opening its own.
    window.calls.clear();
    script->versionResult = VersionRows({std::string("14.01.03")});
    run.Run("Emberline");
    EXPECT_LT(At("cn1.Release(open)"), At("cn2.Open(Emberline)"));
    EXPECT_EQ(script->live, 0);
}

TEST_F(UpdateRunTest, RefusedVersionShowsTheGateMessageAndCloses)
{
    EXPECT_EQ(RunWithVersion("14.01.04"), RunOutcome::RefusedByGate);
    EXPECT_EQ(script->statements, std::vector<std::string>{VersionQuery});
    const std::vector<std::string> tail(window.calls.end() - 4, window.calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{Refusal, "cn1.Close", "cn1.Release", Arrow}));
}

TEST_F(UpdateRunTest, OnlyTheFirstVersionRowCounts)
{
    script->versionResult = VersionRows({std::string("14.01.04"), std::string("14.01.03")});
    run.Run("Emberline");
    EXPECT_EQ(window.Messages(), std::vector<std::string>{Refusal});
}

TEST_F(UpdateRunTest, VersionThatCannotBeReadFailsIntoTheTrapBeforeAnyChange)
{
    const std::pair<Variant, std::string> cases[] = {
        {std::nullopt, "Error Number: 94\r\nError Description: Invalid use of Null"},
        {std::string(""), "Error Number: 9\r\nError Description: Subscript out of range"},
        {std::string("14.01.x"), "Error Number: 13\r\nError Description: Type mismatch"},
        {std::string("14.01.70000"), "Error Number: 6\r\nError Description: Overflow"},
    };
    for (const auto& [version, message] : cases) {
        window.calls.clear();
        script->statements.clear();
        EXPECT_EQ(RunWithVersion(version), RunOutcome::Failed);
        EXPECT_EQ(script->statements.size(), 1u);
        const std::vector<std::string> tail(window.calls.end() - 4, window.calls.end());
        EXPECT_EQ(tail,
                  (std::vector<std::string>{Arrow, Failure(message),
                                            "cn" + std::to_string(script->created) + ".Close",
                                            "cn" + std::to_string(script->created) + ".Release"}));
    }
}

TEST_F(UpdateRunTest, FailureAtTheNthCorrectionStopsBeforeTheStamps)
{
    script->failAtExecute = 1 + 400;
    script->executeFailure = flagwright::Failure(-2147217900, "Deadlock victim.");
    RunWithVersion("14.01.03");

    ASSERT_EQ(script->statements.size(), 401u);
    EXPECT_EQ(script->statements.back(), CorrectionStatement(KindCodeCorrections[399]));
    const std::vector<std::string> tail(window.calls.end() - 4, window.calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{
                        Arrow,
                        Failure("Error Number: -2147217900\r\nError Description: Deadlock victim."),
                        "cn1.Close", "cn1.Release"}));
    EXPECT_EQ(script->live, 0);
}

TEST_F(UpdateRunTest, DatabaseFailuresGetTheirMessagesAndAnOpenConnectionIsClosedAfterIt)
{
    script->versionFailure = flagwright::Failure(-2147217865, "Invalid object name 'Defaults'.");
    EXPECT_EQ(run.Run("Emberline"), RunOutcome::NotEmberline);
    const std::string message =
        Failure("Database is not an Emberline database.  Please select another database.");
    EXPECT_LT(At(message), At("cn1.Close"));
    EXPECT_LT(At(Arrow), At(message));
    EXPECT_EQ(script->live, 0);
}

// Only the version query's missing table says what the database is: met after the first
// write (a trigger, a table dropped meanwhile) it fails a run that has changed the database.
TEST_F(UpdateRunTest, MissingTableAfterTheFirstWriteIsAFailedRun)
{
    const std::string message =
        Failure("Database is not an Emberline database.  Please select another database.");
    for (const int failingExecute : {1 + 1, 1 + 400, 1 + 791 + 1}) {
        window.calls.clear();
        script->failAtExecute = failingExecute;
        script->executeFailure = flagwright::Failure(-2147217865, "Invalid object name 'L_Kind'.");
        EXPECT_EQ(RunWithVersion("14.01.03"), RunOutcome::Failed) << failingExecute;
        EXPECT_EQ(window.Messages(), std::vector<std::string>{message}) << failingExecute;
        script->statements.clear();
    }
}

TEST_F(UpdateRunTest, RefusedLoginLeavesTheUnopenedConnectionAlone)
{
    script->openFailure = flagwright::Failure(-2147217843, "Login failed for user 'DBOPS'.");
    run.Run("Emberline");
    const std::vector<std::string> tail(window.calls.end() - 3, window.calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"cn1.Open(Emberline)", Arrow,
                                              Failure("Login failed.  Please try again.")}));
    EXPECT_EQ(script->live, 1); // never opened, so neither closed nor released

    window.calls.clear();
    script->openFailure = flagwright::Failure(-2147467259, "Cannot open database");
    run.Run("Emberline");
    EXPECT_EQ(window.Messages(), std::vector<std::string>{
                                     Failure("Database in use or does not exist. If in use, "
                                             "close all connections to the database and retry.")});
}

TEST_F(UpdateRunTest, OldVersionIsStampedExactlyAsRead)
{
    RunWithVersion("14.01.03.O'Brien''");
    EXPECT_EQ(script->statements[792],
              "UPDATE Defaults SET Value = '14.01.03.O''Brien''''' WHERE ID = 'DBUpdateFrom'");
    EXPECT_EQ(window.Messages(), std::vector<std::string>{Success});
}
