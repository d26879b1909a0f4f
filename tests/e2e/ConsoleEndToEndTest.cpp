// flagwright-cli as a remote-management tool runs it: a process of its own over the real ODBC
// stack, read by its exit code, stdout and stderr. What the scripted connection shows of each
// command is tested in-process (tests/cli); here what only the real program and instance show.
#include "tests/e2e/CliProcess.h"
#include "tests/e2e/EndToEndFixture.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

using namespace flagwright;
using namespace flagwright::e2e;

namespace {
class ConsoleEndToEnd : public EndToEnd {
protected:
    std::vector<Finished> finished;

    void TearDown() override
    {
        sandbox.Restore();
        for (const Finished& process : finished)
            ExpectNoPassword(process.out + process.err, "output");
        EndToEnd::TearDown();
    }

    Finished Ran(const Launch& launch)
    {
        finished.push_back(RunCli(launch));
        return finished.back();
    }

    static std::string VersionIn(const std::string& folder, const std::string& database)
    {
        return flagwright::testing::DefaultIn(folder + "/" + database + ".sqlite", "DBVersion");
    }
};

TEST_F(ConsoleEndToEnd, UpdatesOneDatabaseThenTheGateRefusesIt)
{
    // After "--" a name may begin with "-"; it reaches the server exactly.
    const std::string db = sandbox.CopyDatabase("Emberline", "-E2E CLI Zürich");
    EXPECT_EQ(Ran(Cli({"update", "--", db})), Updated);
    EXPECT_TRUE(IsCompleteRun(sandbox.Statements(db)));
    EXPECT_EQ(Default(db, "DBVersion"), "14.01.04");
    EXPECT_EQ(Ran(Cli({"update", "--", db})).exitCode, 3);
    EXPECT_EQ(sandbox.Statements(db).size(), CompleteRunLength + 1);
}

TEST_F(ConsoleEndToEnd, UpdateAllUpdatesWhatIsAt140103SkipsTheRestAndGoesOnAfterAFailure)
{
    const std::string folder =
        sandbox.ServeCopiesOf({"Emberline", "Emberline Training", "EmberlineArchive",
                               "EmberlineSupport", "Reports", "Staging"});
    // Three more databases at 14.01.03. One held by another connection: its run fails. One
    // this login has no access to and one offline: skipped, as the listing shows, unopened.
    for (const std::string db : {"Held", "No Access", "Offline"})
        std::filesystem::copy_file(folder + "/Emberline.sqlite", folder + "/" + db + ".sqlite");
    std::ofstream(folder + "/Held.single-user");
    std::ofstream(folder + "/No Access.no-access");
    std::ofstream(folder + "/Offline.offline");
    ConnectionSettings settings = EmberlineInstance();
    settings.database = "Held";
    auto holder = std::make_unique<odbc::OdbcConnection>();
    holder->Open(settings);
    const auto accepted = [this] { return std::stoi(sandbox.Status("accepted")); };
    const int acceptedBefore = accepted();

    const Finished first = Ran(Cli({"update", "--all"}));
    EXPECT_EQ(first.exitCode, 1);
    EXPECT_EQ(first.out, "Emberline: updated\n"
                         "Emberline Training: updated\n"
                         "EmberlineArchive: skipped, not at version 14.01.03\n"
                         "Held: failed\n"
                         "No Access: skipped, no access for this login\n"
                         "Offline: skipped, not online (OFFLINE)\n"
                         "Reports: skipped, not an Emberline database\n"
                         "Staging: skipped, not an Emberline database\n"
                         "2 updated, 5 skipped, 1 failed\n");
    // The listing's connection, one for each database's question just before its turn, and
    // one per run: none for the two skipped unopened.
    EXPECT_EQ(accepted() - acceptedBefore, 1 + 8 + 6);
    for (const std::string db : {"Emberline", "Emberline Training"})
        EXPECT_TRUE(AsAfterUpdate(folder + "/" + db + ".sqlite")) << db;

    // A database in use fails now and may succeed later.
    holder.reset();
    const Finished second = Ran(Cli({"update", "--all"}));
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_NE(second.out.find("\nHeld: updated\n"), std::string::npos) << second.out;
    EXPECT_TRUE(second.out.ends_with("\n1 updated, 7 skipped, 0 failed\n")) << second.out;
}

// Names holding line breaks, tabs and text that looks like an outcome, legal on SQL Server:
// a script that takes them NUL-separated hands each over exactly.
TEST_F(ConsoleEndToEnd, ScriptsGetTheExactNames)
{
    const std::vector<std::string> names = {
        "Sales\nEmberline", "Tab\tName", "x: updated\n9 updated, 0 skipped, 0 failed",
        "back\\slash\r",    "\x7f",      "-dash"};
    const std::string folder = sandbox.ServeCopiesOfEmberline(names);
    const Finished pipeline =
        Ran({{"bash", "-c", R"(set -o pipefail; "$1" list -0 | xargs -0 -n1 "$1" update --)",
              "bash", FLAGWRIGHT_CLI}});
    EXPECT_EQ(pipeline.exitCode, 0) << pipeline;
    for (const std::string& name : names)
        EXPECT_EQ(VersionIn(folder, name), "14.01.04") << name;
}

// check reads, and counts exactly: codes missing, and the corrections a failed run left applied;
// up to date after the update, drifted after a flag changed by hand. update --json tells where a
// run stopped. Each --json line is one JSON object, whatever the name holds.
TEST_F(ConsoleEndToEnd, CheckCountsWhatAnUpdateWouldChangeAndUpdateTellsWhereItStopped)
{
    const std::string db = sandbox.CopyDatabase("Emberline", "E2E check \"q\" \\ \t");
    const std::string named = R"({"database": "E2E check \"q\" \\ \t", )";
    ChangeFile(sandbox.DatabaseFile(db), "DELETE FROM L_Kind WHERE KindCode IN ('AT', 'FAC')");
    sandbox.Control(R"({"cmd":"faults","faults":{"fail":"400:1222:UPDATE L_Kind"}})");
    EXPECT_EQ(Ran(Cli({"update", "--json", db})),
              (Finished{1, 0,
                        named + R"("command": "update", "outcome": "failed", "exitCode": 1, )"
                                R"("versionBefore": "14.01.03", "versionAfter": null, )"
                                R"("corrections": 399, "stoppedAt": {"index": 400, )"
                                R"("kindCode": "MAOC"}, "message": {"title": "Rate Update )"
                                R"(Error", "text": "Error Number: -2147217900\r\nError )"
                                R"(Description: Lock request time out period exceeded."}, )"
                                R"("failure": {"code": -2147217900, "sqlState": "42000", )"
                                R"("native": 1222}, )"
                                R"("seconds": N})"
                                "\n",
                        ""}));
    sandbox.Control(R"({"cmd":"faults","faults":{}})");

    const std::size_t before = sandbox.Statements(db).size();
    EXPECT_EQ(Ran(Cli({"check", db})),
              (Finished{0, 0,
                        "E2E check \"q\" \\ \\t: would be updated (14.01.03): 392 of 791 to "
                        "change, 397 already corrected, 2 missing\n",
                        ""}));
    EXPECT_EQ(Ran(Cli({"check", "--json", db})),
              (Finished{0, 0,
                        named + R"("command": "check", "outcome": "would-update", "exitCode": 0, )"
                                R"("version": "14.01.03", "kindCodes": {"table": 791, "present": )"
                                R"(789, "corrected": 397, "toChange": 392, "missing": 2}, )"
                                R"("failure": null})"
                                "\n",
                        ""}));
    const std::vector<std::string> statements = sandbox.Statements(db);
    const std::vector<std::string> reads = {"Select Value from Defaults where ID = 'DBVersion'",
                                            "SELECT KindCode, Direct, LineOverhead FROM L_Kind"};
    EXPECT_EQ(std::vector<std::string>(statements.begin() + before, statements.end()),
              (std::vector<std::string>{reads[0], reads[1], reads[0], reads[1]}));

    EXPECT_EQ(Ran(Cli({"update", db})).exitCode, 0);
    EXPECT_EQ(Ran(Cli({"check", db})),
              (Finished{0, 0,
                        "E2E check \"q\" \\ \\t: up to date (14.01.04): 0 of 791 to change, 789 "
                        "already corrected, 2 missing\n",
                        ""}));
    ChangeFile(sandbox.DatabaseFile(db),
               "UPDATE L_Kind SET Direct = 1 - Direct WHERE KindCode = 'MAOC'");
    EXPECT_EQ(Ran(Cli({"check", db})),
              (Finished{6, 0,
                        "E2E check \"q\" \\ \\t: drifted (14.01.04): 1 of 791 to change, 788 "
                        "already corrected, 2 missing\n",
                        ""}));
}

// A log reader that stops early (update --all | head -1) must not stop the runs.
TEST_F(ConsoleEndToEnd, UpdateAllFinishesEveryRunWhenItsReaderHasGone)
{
    const std::vector<std::string> names = {"E2E CLI gone reader 1", "E2E CLI gone reader 2"};
    const std::string folder = sandbox.ServeCopiesOfEmberline(names);
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    close(pipeEnds[0]); // no reader, from the first write on
    Launch launch = Cli({"update", "--all"});
    launch.stdoutTo = pipeEnds[1];
    EXPECT_EQ(Ran(launch),
              (Finished{1, 0, "",
                        names[0] + ": Congratulations: Update successful.\n" + names[0] +
                            ": Took N s.\n" + names[1] + ": Congratulations: Update successful.\n" +
                            names[1] + ": Took N s.\n"}));
    close(pipeEnds[1]);
    for (const std::string& name : names)
        EXPECT_EQ(VersionIn(folder, name), "14.01.04") << name;
}
} // namespace
