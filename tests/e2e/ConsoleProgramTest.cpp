// flagwright-cli as a remote-management tool runs it: a process of its own over the real ODBC
// stack, read by its exit code, stdout and stderr.
#include "EndToEndFixture.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

using namespace flagwright;
using namespace flagwright::e2e;

namespace {
struct Finished {
    int exitCode;
    std::string out;
    std::string err;
};

std::string ShellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string FileText(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

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

    Finished Cli(const std::vector<std::string>& arguments)
    {
        const std::string folder = sandbox.NewFolder();
        std::string command = FLAGWRIGHT_CLI;
        for (const std::string& argument : arguments)
            command += " " + ShellQuoted(argument);
        command += " >" + ShellQuoted(folder + "/out") + " 2>" + ShellQuoted(folder + "/err");
        const int status = std::system(command.c_str());
        finished.push_back({WIFEXITED(status) ? WEXITSTATUS(status) : -1, FileText(folder + "/out"),
                            FileText(folder + "/err")});
        return finished.back();
    }

    static std::string VersionIn(const std::string& folder, const std::string& database)
    {
        return flagwright::testing::DefaultIn(folder + "/" + database + ".sqlite", "DBVersion");
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

TEST_F(ConsoleProgram, ListPrintsWhatTheWindowOffersAndFailsWhenItCannotList)
{
    sandbox.ServeCopiesOf({"Emberline", "Emberline Training", "EmberlineArchive",
                           "EmberlineSupport", "Reports", "Staging"});
    const Finished samples = Cli({"list"});
    EXPECT_EQ(samples.exitCode, 0);
    EXPECT_EQ(samples.out, "Emberline\nEmberline Training\nEmberlineArchive\nReports\nStaging\n");
    EXPECT_EQ(samples.err, "");

    sandbox.ServeCopiesOfEmberline({"Sales, East", "EmberlineSupport2"});
    EXPECT_EQ(Cli({"list"}).out, "EmberlineSupport2\nSales, East\n");

    // An instance that refuses the login is not an instance without databases.
    sandbox.Control(R"({"cmd":"faults","faults":{"refuse_logins":true}})");
    for (const auto& arguments :
         {std::vector<std::string>{"list"}, std::vector<std::string>{"update", "--all"}}) {
        const Finished refused = Cli(arguments);
        EXPECT_EQ(refused.exitCode, 1) << arguments.back();
        EXPECT_EQ(refused.out, "") << arguments.back();
        EXPECT_EQ(refused.err, "flagwright-cli: the databases could not be listed: Login failed "
                               "for user 'DBOPS'.\n")
            << arguments.back();
    }
}

TEST_F(ConsoleProgram, UpdatesOneDatabaseThenTheGateRefusesIt)
{
    // After "--" a name may begin with "-"; it reaches the server exactly.
    const std::string db = sandbox.CopyDatabase("Emberline", "-E2E CLI Zürich");

    const Finished update = Cli({"update", "--", db});
    EXPECT_EQ(update.exitCode, 0);
    EXPECT_EQ(update.out, "Congratulations: Update successful.\n");
    EXPECT_EQ(update.err, "");
    EXPECT_TRUE(IsCompleteRun(sandbox.Statements(db)));
    EXPECT_EQ(Default(db, "DBVersion"), "14.01.04");
    EXPECT_EQ(Default(db, "DBUpdateFrom"), "14.01.03");
    EXPECT_TRUE(AsAfterUpdate(sandbox.DatabaseFile(db)));

    const Finished again = Cli({"update", "--", db});
    EXPECT_EQ(again.exitCode, 3);
    EXPECT_EQ(again.out, "");
    EXPECT_EQ(again.err, Refusal);
    EXPECT_EQ(sandbox.Statements(db).size(), CompleteRunLength + 1);
}

TEST_F(ConsoleProgram, WhatCannotBeUpdatedHasItsOwnExitCodeAndMessage)
{
    const std::string staging = sandbox.CopyDatabase("Staging", OwnName() + " Staging");
    const std::string reports = sandbox.CopyDatabase("Reports", OwnName() + " Reports");
    const std::size_t logged = sandbox.Batches().size();
    struct Case {
        std::string database;
        int exitCode;
        std::string err;
    };
    for (const Case& expected : {
             Case{staging, 4, "Flagwright: Database is not an Emberline database.\n"},
             Case{reports, 4,
                  "Rate Update Error: Database is not an Emberline database.  Please select "
                  "another database.\n"},
             Case{"E2E CLI no such database", 1,
                  "Rate Update Error: Database in use or does not exist. If in use, close all "
                  "connections to the database and retry.\n"},
             Case{"", 5, "Flagwright: No database selected.\n"},
         }) {
        const Finished process = Cli({"update", expected.database});
        EXPECT_EQ(process.exitCode, expected.exitCode) << expected.database;
        EXPECT_EQ(process.out, "") << expected.database;
        EXPECT_EQ(process.err, expected.err) << expected.database;
    }
    // The version query of each of the two databases, nothing else.
    EXPECT_EQ(sandbox.Batches(logged).size(), 2U);
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

    const Finished first = Cli({"update", "--all"});
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
        EXPECT_TRUE(IsCompleteRun(StatementsSince(logged, db))) << db;
        EXPECT_TRUE(AsAfterUpdate(folder + "/" + db + ".sqlite")) << db;
    }
    EXPECT_EQ(StatementsSince(logged, "EmberlineArchive"), std::vector<std::string>{VersionQuery});
    for (const std::string db : {"EmberlineSupport", "No Access", "Offline"})
        EXPECT_TRUE(StatementsSince(logged, db).empty()) << db;

    holder.reset();
    const Finished second = Cli({"update", "--all"});
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

// Names holding line breaks, tabs and text that looks like an outcome: legal on SQL Server,
// and read from the catalog by every unattended run.
TEST_F(ConsoleProgram, NoNameMakesOrFakesALineAndScriptsGetTheExactNames)
{
    const std::vector<std::string> names = {"Sales\nEmberline", "Tab\tName",
                                            "x: updated\n9 updated, 0 skipped, 0 failed",
                                            "back\\slash\r", "\x7f"};
    const std::string folder = sandbox.ServeCopiesOfEmberline(names);
    const std::string shown[] = {R"(back\slash\r)", R"(Sales\nEmberline)", R"(Tab\tName)",
                                 R"(x: updated\n9 updated, 0 skipped, 0 failed)", R"(\x7F)"};
    std::string listed;
    for (const std::string& name : shown)
        listed += name + "\n";
    EXPECT_EQ(Cli({"list"}).out, listed);

    // Each name exactly, as xargs -0 hands it over: every listed database is updated.
    const std::string script = ShellQuoted(FLAGWRIGHT_CLI) + " list -0 | xargs -0 -n1 " +
                               ShellQuoted(FLAGWRIGHT_CLI) + " update -- >/dev/null";
    EXPECT_EQ(std::system(script.c_str()), 0);
    for (const std::string& name : names)
        EXPECT_EQ(VersionIn(folder, name), "14.01.04") << name;

    const Finished all = Cli({"update", "--all"});
    std::string outcomes;
    for (const std::string& name : shown)
        outcomes += name + ": skipped, not at version 14.01.03\n";
    EXPECT_EQ(all.out, outcomes + "0 updated, 5 skipped, 0 failed\n");
    // Every line of the runs' messages is led by the shown name.
    std::istringstream messages(all.err);
    int lines = 0;
    for (std::string line; std::getline(messages, line); ++lines)
        EXPECT_TRUE(std::any_of(std::begin(shown), std::end(shown), [&](const std::string& name) {
            return line.rfind(name + ": ", 0) == 0;
        })) << line;
    EXPECT_EQ(lines, 5 * 3);
}

// A log reader that stops early (update --all | head -1) must not stop the runs.
TEST_F(ConsoleProgram, UpdateAllFinishesEveryRunWhenItsReaderHasGone)
{
    const std::vector<std::string> names = {"E2E CLI gone reader 1", "E2E CLI gone reader 2"};
    const std::string folder = sandbox.ServeCopiesOfEmberline(names);
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    close(pipeEnds[0]); // no reader, from the first write on
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (folder + "/err").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const char* argv[] = {FLAGWRIGHT_CLI, "update", "--all", nullptr};
    pid_t child = 0;
    ASSERT_EQ(
        posix_spawn(&child, FLAGWRIGHT_CLI, &actions, nullptr, const_cast<char**>(argv), environ),
        0);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    for (const std::string& name : names)
        EXPECT_EQ(VersionIn(folder, name), "14.01.04") << name;
    EXPECT_EQ(FileText(folder + "/err"), names[0] + ": Congratulations: Update successful.\n" +
                                             names[1] + ": Congratulations: Update successful.\n");
}

TEST_F(ConsoleProgram, BadArgumentsAreRefusedBeforeAnythingIsConnected)
{
    const std::size_t logged = sandbox.Batches().size();
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {},
             {"upgrade", "Emberline"},
             {"update", "--force", "Emberline"},
             {"update"},
             {"update", "Emberline", "Emberline Training"},
             {"update", "--all", "Emberline"},
             {"list", "Emberline"},
             {"list", "--all"},
             {"update", "-0", "Emberline"},
             {"update", "Emberline\xff"}, // not UTF-8: would name "Emberline\uFFFD"
         }) {
        const Finished process = Cli(arguments);
        std::string shown;
        for (const std::string& argument : arguments)
            shown += "[" + argument + "]";
        EXPECT_EQ(process.exitCode, 2) << shown;
        EXPECT_EQ(process.out, "") << shown;
        EXPECT_EQ(process.err.rfind("flagwright-cli: ", 0), 0U) << shown << process.err;
        EXPECT_NE(process.err.find("flagwright-cli --help"), std::string::npos) << shown;
    }
    EXPECT_EQ(sandbox.Batches(logged).size(), 0U);

    const Finished version = Cli({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "14.01.0003\n");
    const Finished help = Cli({"update", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Usage: flagwright-cli list"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("  3  the database is not at version 14.01.03"), std::string::npos)
        << help.out;
}
} // namespace
