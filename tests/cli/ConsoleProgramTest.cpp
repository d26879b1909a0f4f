// Each command's exit code and exact output, over the scripted connection.
#include "ConsoleProgram.h"
#include "EmberlineInstance.h"
#include "ScriptedConnection.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <sstream>

using namespace flagwright;
using namespace flagwright::testing;
using namespace std::string_literals;

namespace {
struct Ran {
    int exitCode;
    std::string out;
    std::string err;

    bool operator==(const Ran&) const = default;
};

std::ostream& operator<<(std::ostream& stream, const Ran& ran)
{
    return stream << "exit code " << ran.exitCode << ", stdout [" << ran.out << "], stderr ["
                  << ran.err << "]";
}

const std::string Refused = "Emberline Flagwright Message: This database does not need to be "
                            "updated.\n  \n  This update is only necessary for database version "
                            "14.01.03 \n";
const std::string VersionQuery = "Select Value from Defaults where ID = 'DBVersion'";

class ConsoleProgramTest : public ::testing::Test {
protected:
    std::shared_ptr<ConnectionScript> script = std::make_shared<ConnectionScript>();

    Ran Run(const std::vector<std::string>& arguments) const
    {
        std::ostringstream out;
        std::ostringstream err;
        const int exitCode = cli::RunConsoleProgram(arguments, ScriptedConnection::Factory(script),
                                                    EmberlineInstance(), out, err);
        return {exitCode, out.str(), err.str()};
    }
};

TEST_F(ConsoleProgramTest, HelpShowsTheCommandsTableAndVersionTheVersion)
{
    const Ran help = Run({"-h"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out.rfind("Usage: flagwright-cli list [-0]\n"
                             "       flagwright-cli update NAME\n"
                             "       flagwright-cli update --all\n"
                             "       flagwright-cli --help | --version\n\n",
                             0),
              0U)
        << help.out;
    EXPECT_NE(help.out.find(
                  "\n\n  list          print the databases on offer, one per line\n"
                  "  list -0       print them exactly, each followed by a NUL, for xargs -0\n"
                  "  update NAME   update the database NAME (use update -- NAME for a name that\n"
                  "                begins with -)\n"
                  "  update --all  update every database that list prints, one after another;\n"
                  "                those at another version, those that are not Emberline\n"
                  "                databases and those this login cannot open (no access, or not\n"
                  "                online: offline, restoring, ...) are skipped; one in use by\n"
                  "                another connection fails\n\n"),
              std::string::npos)
        << help.out;
    EXPECT_NE(help.out.find("\nExit codes:\n  0  updated"), std::string::npos) << help.out;
    EXPECT_EQ(Run({"--version"}), (Ran{0, "14.01.0003\n", ""}));
    EXPECT_EQ(script->created, 0);
}

// The databases the window offers, each on one line that no name can break, or exactly.
TEST_F(ConsoleProgramTest, ListPrintsTheOfferedNamesShownOrExact)
{
    script->catalogResult = CatalogRows({{"master", "1"},
                                         {"Emberline", "0"},
                                         {"EmberlineSupport", "0"},
                                         {"Sales\nEmberline", "0"},
                                         {"x: updated\r\t\x7f\xc2\x85", "0"}});
    EXPECT_EQ(Run({"list"}),
              (Ran{0, "Emberline\nSales\\nEmberline\nx: updated\\r\\t\\x7F\\u0085\n", ""}));
    EXPECT_EQ(Run({"list", "-0"}),
              (Ran{0, "Emberline\0Sales\nEmberline\0x: updated\r\t\x7f\xc2\x85\0"s, ""}));
}

// An instance that refuses the login is not an instance without databases.
TEST_F(ConsoleProgramTest, ListAndUpdateAllFailWhenTheDatabasesCannotBeListed)
{
    script->openFailure = Failure(failure_code::AuthenticationFailed, "Login failed\tfor 'DBOPS'.");
    for (const auto& arguments : {std::vector<std::string>{"list"}, {"update", "--all"}})
        EXPECT_EQ(Run(arguments),
                  (Ran{1, "",
                       "flagwright-cli: the databases could not be listed: Login failed\\tfor "
                       "'DBOPS'.\n"}))
            << arguments.back();
}

// What cannot be updated has its own exit code and message, and is left unchanged.
TEST_F(ConsoleProgramTest, UpdateEndsWithTheRunsOutcomeAndMessage)
{
    struct Case {
        std::function<void(ConnectionScript&)> script;
        std::string database;
        Ran ran;
    };
    const auto atVersion = [](const char* version) {
        return [version](ConnectionScript& s) { s.versionResult = VersionRows({version}); };
    };
    for (const Case& expected : {
             Case{atVersion("14.01.03"),
                  "Emberline",
                  {0, "Congratulations: Update successful.\n", ""}},
             Case{atVersion("14.01.04"), "Emberline", {3, "", Refused}},
             Case{[](ConnectionScript& s) { s.versionResult = VersionRows({}); },
                  "Staging",
                  {4, "", "Flagwright: Database is not an Emberline database.\n"}},
             Case{[](ConnectionScript& s) {
                      s.versionFailure = Failure(failure_code::NoSuchTable, "Invalid object");
                  },
                  "Reports",
                  {4, "",
                   "Rate Update Error: Database is not an Emberline database.  Please select "
                   "another database.\n"}},
             Case{[](ConnectionScript& s) {
                      s.openFailure = Failure(failure_code::Unspecified, "Cannot open database");
                  },
                  "No such database",
                  {1, "",
                   "Rate Update Error: Database in use or does not exist. If in use, close all "
                   "connections to the database and retry.\n"}},
             Case{atVersion("14.01.03"), "", {5, "", "Flagwright: No database selected.\n"}},
         }) {
        script = std::make_shared<ConnectionScript>();
        expected.script(*script);
        EXPECT_EQ(Run({"update", expected.database}), expected.ran) << expected.database;
        if (expected.ran.exitCode == 3 || expected.ran.exitCode == 4) {
            EXPECT_EQ(script->statements, std::vector<std::string>{VersionQuery});
        }
    }
}

// Every line update --all prints is led by a name shown on one line, so that none can make
// or fake a line; the databases the listing shows this login cannot open are not connected to.
TEST_F(ConsoleProgramTest, UpdateAllTellsEachDatabaseOnLinesOfItsOwn)
{
    script->catalogResult =
        Recordset({"name", "IsSystem", "HasAccess", "Status", "UserAccess"},
                  {{"Sales\nEmberline", "0", "1", "ONLINE", "MULTI_USER"},
                   {"x: updated\n9 updated, 0 skipped, 0 failed", "0", "1", "ONLINE", "MULTI_USER"},
                   {"No Access", "0", "0", "ONLINE", "MULTI_USER"},
                   {"Odd", "0", "0", "NEW\tSTATE", "MULTI_USER"}});
    script->versionResult = VersionRows({"14.01.04"});
    const Ran all = Run({"update", "--all"});
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_EQ(all.out, "Sales\\nEmberline: skipped, not at version 14.01.03\n"
                       "x: updated\\n9 updated, 0 skipped, 0 failed: skipped, not at version "
                       "14.01.03\n"
                       "No Access: skipped, no access for this login\n"
                       "Odd: skipped, not online (NEW\\tSTATE)\n"
                       "0 updated, 4 skipped, 0 failed\n");
    std::string messages;
    for (const std::string name :
         {"Sales\\nEmberline", "x: updated\\n9 updated, 0 skipped, 0 failed"})
        messages += name +
                    ": Emberline Flagwright Message: This database does not need to be "
                    "updated.\n" +
                    name + ":   \n" + name +
                    ":   This update is only necessary for database version 14.01.03 \n";
    EXPECT_EQ(all.err, messages);
    ASSERT_EQ(script->opened.size(), 3U); // the listing's connection and two runs
    EXPECT_EQ(script->opened[1].database, "Sales\nEmberline");
}
} // namespace
