// flagwright-cli as a remote-management tool runs it: a process of its own over the real ODBC
// stack, read by its exit code, stdout and stderr. What the scripted connection shows of each
// command is tested in-process (tests/cli); here what only the real program and instance show.
#include "CliProcess.h"
#include "EndToEndFixture.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

using namespace flagwright;
using namespace flagwright::e2e;

namespace {
const std::string Refusal = "Emberline Flagwright Message: This database does not need to be "
                            "updated.\n  \n  This update is only necessary for database version "
                            "14.01.03 \n";

class ConsoleProgram : public EndToEnd {
protected:
    std::vector<Finished> finished;

    void TearDown() override
    {
        sandbox.Restore();
        for (const Finished& process : finished) {
            ExpectNoPassword(process.out, "stdout");
            ExpectNoPassword(process.err, "stderr");
        }
        EndToEnd::TearDown();
    }

    Finished Ran(const Launch& launch)
    {
        finished.push_back(RunProcess(launch));
        return finished.back();
    }

    static std::string VersionIn(const std::string& folder, const std::string& database)
    {
        const auto rows = QueryFile(folder + "/" + database + ".sqlite",
                                    "SELECT Value FROM Defaults WHERE ID = 'DBVersion'");
        return rows.empty() ? "(no row)" : rows[0][0];
    }

    // The statements that reached the server for this database after the log entry `from`.
    std::vector<std::string> StatementsSince(std::size_t from, const std::string& database) const
    {
        std::vector<std::string> statements;
        for (auto& [name, statement] : sandbox.Batches(from))
            if (name == database)
                statements.push_back(std::move(statement));
        return statements;
    }
};

TEST_F(ConsoleProgram, UpdatesOneDatabaseThenTheGateRefusesIt)
{
    // After "--" a name may begin with "-"; it reaches the server exactly.
    const std::string db = sandbox.CopyDatabase("Emberline", "-E2E CLI Zürich");

    EXPECT_EQ(Ran(CliUpdate(db)), Updated);
    EXPECT_EQ(sandbox.Statements(db), CompleteRun());
    EXPECT_EQ(Default(db, "DBVersion"), "14.01.04");
    EXPECT_EQ(Default(db, "DBUpdateFrom"), "14.01.03");
    EXPECT_TRUE(AsAfterUpdate(Kinds(db)));

    EXPECT_EQ(Ran(CliUpdate(db)), (Finished{3, 0, "", Refusal}));
    EXPECT_EQ(sandbox.Statements(db).size(), CompleteRun().size() + 1);
}

TEST_F(ConsoleProgram, UpdateAllUpdatesWhatIsAt140103SkipsTheRestAndGoesOnAfterAFailure)
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
    const std::size_t logged = sandbox.Batches().size();
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
    // The listing's connection and one per run: none for the two skipped unopened.
    EXPECT_EQ(accepted() - acceptedBefore, 1 + 6);
    EXPECT_EQ(first.err,
              "Emberline: Congratulations: Update successful.\n"
              "Emberline Training: Congratulations: Update successful.\n"
              "EmberlineArchive: Emberline Flagwright Message: This database does not need to "
              "be updated.\n"
              "EmberlineArchive:   \n"
              "EmberlineArchive:   This update is only necessary for database version 14.01.03 \n"
              "Held: Rate Update Error: Database in use or does not exist. If in use, close all "
              "connections to the database and retry.\n"
              "Reports: Rate Update Error: Database is not an Emberline database.  Please select "
              "another database.\n"
              "Staging: Flagwright: Database is not an Emberline database.\n");
    for (const std::string db : {"Emberline", "Emberline Training"}) {
        EXPECT_EQ(StatementsSince(logged, db), CompleteRun()) << db;
        EXPECT_TRUE(AsAfterUpdate(KindsInFile(folder + "/" + db + ".sqlite"))) << db;
    }
    EXPECT_EQ(StatementsSince(logged, "EmberlineArchive"), std::vector<std::string>{VersionQuery});
    for (const std::string db : {"EmberlineSupport", "No Access", "Offline"})
        EXPECT_TRUE(StatementsSince(logged, db).empty()) << db;

    holder.reset();
    const Finished second = Ran(Cli({"update", "--all"}));
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(second.out, "Emberline: skipped, not at version 14.01.03\n"
                          "Emberline Training: skipped, not at version 14.01.03\n"
                          "EmberlineArchive: skipped, not at version 14.01.03\n"
                          "Held: updated\n"
                          "No Access: skipped, no access for this login\n"
                          "Offline: skipped, not online (OFFLINE)\n"
                          "Reports: skipped, not an Emberline database\n"
                          "Staging: skipped, not an Emberline database\n"
                          "1 updated, 7 skipped, 0 failed\n");
}

// Names holding line breaks, tabs and text that looks like an outcome, legal on SQL Server:
// a script that takes them NUL-separated hands each over exactly.
TEST_F(ConsoleProgram, ScriptsGetTheExactNames)
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

// A log reader that stops early (update --all | head -1) must not stop the runs.
TEST_F(ConsoleProgram, UpdateAllFinishesEveryRunWhenItsReaderHasGone)
{
    const std::vector<std::string> names = {"E2E CLI gone reader 1", "E2E CLI gone reader 2"};
    const std::string folder = sandbox.ServeCopiesOfEmberline(names);
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    close(pipeEnds[0]); // no reader, from the first write on
    Launch launch = Cli({"update", "--all"});
    launch.stdoutTo = pipeEnds[1];
    Process process(launch);
    close(pipeEnds[1]);
    EXPECT_EQ(process.Wait(), (Finished{1, 0, "",
                                        names[0] + ": Congratulations: Update successful.\n" +
                                            names[1] + ": Congratulations: Update successful.\n"}));
    for (const std::string& name : names)
        EXPECT_EQ(VersionIn(folder, name), "14.01.04") << name;
}
} // namespace
