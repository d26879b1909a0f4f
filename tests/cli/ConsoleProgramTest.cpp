// What each command line asks for, and each command's exit code and exact output over the
// scripted connection.
#include "cli/ConsoleProgram.h"
#include "cli/HelpText.h"
#include "cli/Outcomes.h"
#include "discovery/OfferedDatabases.h"
#include "platform/Console.h"
#include "platform/Product.h"
#include "tests/support/ConsoleOutput.h"
#include "tests/support/Process.h"
#include "tests/support/ScriptedConnection.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

using namespace flagwright;
using namespace flagwright::cli;
using namespace flagwright::testing;
using namespace std::string_literals;

namespace {
// A command line, and what it asks for: "name(database) option...", or "! " and the reason it
// is refused.
struct Case {
    std::vector<std::string> arguments;
    std::string asks;
};

std::string Parsed(const Command& command)
{
    std::string parsed = command.name + "(" + command.database + ")";
    for (const std::string& option : command.options)
        parsed += " " + option;
    return parsed;
}

class CommandLineTest : public ::testing::TestWithParam<Case> {};

TEST_P(CommandLineTest, AsksForItsCommandOrIsRefused)
{
    const auto parsed = ParseCommandLine(GetParam().arguments);
    const auto* command = std::get_if<Command>(&parsed);
    EXPECT_EQ(command ? Parsed(*command) : "! " + std::get<UsageError>(parsed).reason,
              GetParam().asks);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, CommandLineTest,
    ::testing::Values(
        Case{{"list"}, "list()"}, Case{{"-0", "list", "-0"}, "list() -0"},
        Case{{"update", "Emberline"}, "update(Emberline)"}, Case{{"update", ""}, "update()"},
        Case{{"update", "-"}, "update(-)"}, Case{{"--all", "update"}, "update() --all"},
        // After "--" every argument is a name, the program's options included.
        Case{{"update", "--", "-E Zürich"}, "update(-E Zürich)"},
        Case{{"update", "--", "-h"}, "update(-h)"},
        Case{{"update", "--", "--help"}, "update(--help)"},
        Case{{"update", "--", "--all"}, "update(--all)"},
        Case{{"--", "update", "--version"}, "update(--version)"},
        Case{{"list", "--", "--help"}, "! unexpected argument '--help'"},
        // Before "--", --help and -h, then --version, win wherever they stand.
        Case{{"update", "Emberline", "-h"}, "--help()"},
        Case{{"--version", "--bogus", "--help", "--"}, "--help()"},
        Case{{"upgrade", "--version", "-0"}, "--version()"},
        // Only text can name a database: an argument that is not UTF-8 is refused first.
        Case{{"--help", "Emberline\xff"}, "! argument 'Emberline\\xFF' is not UTF-8 text"},
        // A lone surrogate of a Windows command line, kept as itself rather than replaced.
        Case{{"update", "Sales\xED\xA0\x80"},
             "! argument 'Sales\\xED\\xA0\\x80' is not UTF-8 text"},
        Case{{}, "! no command given"}, Case{{"-0"}, "! no command given"},
        Case{{"upgrade", "Emberline"}, "! unknown command 'upgrade'"},
        Case{{"--", "--all"}, "! unknown command '--all'"},
        Case{{"update", "--force", "Emberline"}, "! unknown option '--force'"},
        Case{{"update"}, "! update needs a database name, or --all"},
        Case{{"update", "Emberline", "Reports"}, "! unexpected argument 'Reports'"},
        Case{{"update", "--all", "Emberline"}, "! update takes a database name or --all, not both"},
        Case{{"list", "Emberline"}, "! unexpected argument 'Emberline'"},
        Case{{"list", "--all", "Emberline"}, "! --all belongs to check and update, not to list"},
        Case{{"upgrade", "--json"}, "! --json belongs to list, check and update"},
        Case{{"check", "--json", "--", "-x"}, "check(-x) --json"},
        Case{{"update", "-0", "Emberline"}, "! -0 belongs to list"},
        Case{{"upgrade", "-0"}, "! -0 belongs to list"}));

const std::string Refused = "Emberline Flagwright Message: This database does not need to be "
                            "updated.\n  \n  This update is only necessary for database version "
                            "14.01.03 \n";

class ConsoleProgramTest : public ::testing::Test {
protected:
    std::shared_ptr<ConnectionScript> script = std::make_shared<ConnectionScript>();

    // The program run in-process, as a Finished process would tell it.
    Finished Run(const std::vector<std::string>& arguments) const
    {
        std::ostringstream out;
        std::ostringstream err;
        const int exitCode = RunConsoleProgram(arguments, ScriptedConnection::Factory(script),
                                               EmberlineInstance(), out, err);
        return {exitCode, 0, WithoutTimes(out.str()), WithoutTimes(err.str())};
    }
};

// The usage and the commands' rows are made from the table of commands; bad arguments
// (CommandLineTest) are told in two lines.
TEST_F(ConsoleProgramTest, HelpVersionAndBadArgumentsAreToldWithoutConnecting)
{
    const Finished help = Run({"-h"});
    EXPECT_EQ(help, (Finished{0, 0, help.out, ""}));
    EXPECT_EQ(help.out.rfind("Usage: flagwright-cli list [-0] [--json]\n"
                             "       flagwright-cli check NAME [--json]\n"
                             "       flagwright-cli check --all [--json]\n"
                             "       flagwright-cli update NAME [--json]\n"
                             "       flagwright-cli update --all [--json]\n"
                             "       flagwright-cli --help | --version\n\n",
                             0),
              0U)
        << help.out;
    EXPECT_NE(help.out.find("\n  list -0              print them exactly, each followed by a NUL, "
                            "for xargs -0\n"),
              std::string::npos)
        << help.out;
    EXPECT_NE(help.out.find("\n  update NAME          update the database NAME (use update -- "
                            "NAME for a name\n                       that begins with -)\n"),
              std::string::npos)
        << help.out;
    EXPECT_EQ(Run({"--version"}), (Finished{0, 0, "14.01.0003\n", ""}));
    EXPECT_EQ(Run({"update", "--all", "Emberline"}),
              (Finished{2, 0, "",
                        "flagwright-cli: update takes a database name or --all, not both\n"
                        "Try 'flagwright-cli --help' for the commands.\n"}));
    EXPECT_EQ(script->created, 0);
}

// The databases the window offers, each on a line that no name can break: control characters
// and bytes that are not UTF-8 escaped, everything else as it is; or each exactly.
TEST_F(ConsoleProgramTest, ListPrintsTheOfferedNamesShownOrExact)
{
    const std::string kept = "Zürich\xC2\xA0北京 😀 back\\slash \\n";
    const std::string odd = "a\tb\nc\rd\x01\x1f\x7f NEL\xC2\x85 CSI\xC2\x9B bad\xFF\xC3 "
                            "overlong\xC0\xAF surrogate\xED\xA0\x80";
    script->catalogResult = CatalogRows(
        {{"master", "1"}, {"EmberlineSupport", "0"}, {"Emberline", "0"}, {kept, "0"}, {odd, "0"}});
    const std::string shown =
        R"(a\tb\nc\rd\x01\x1F\x7F NEL\u0085 CSI\u009B bad\xFF\xC3 overlong\xC0\xAF surrogate\xED\xA0\x80)";
    EXPECT_EQ(Run({"list"}), (Finished{0, 0, "Emberline\n" + kept + '\n' + shown + '\n', ""}));
    EXPECT_EQ(Run({"list", "-0"}), (Finished{0, 0, "Emberline\0"s + kept + '\0' + odd + '\0', ""}));
    // As JSON strings: what JSON cannot hold as it is, escaped; a lone surrogate as itself;
    // anything else that is not UTF-8, U+FFFD.
    const std::string line = R"(", "command": "list", "outcome": "offered", "exitCode": 0})"
                             "\n";
    EXPECT_EQ(Run({"list", "--json"}),
              (Finished{0, 0,
                        R"({"database": "Emberline)" + line + R"({"database": ")" +
                            "Zürich\xC2\xA0北京 😀 back\\\\slash \\\\n" + line +
                            R"({"database": "a\tb\nc\rd\u0001\u001f\u007f NEL\u0085 CSI\u009b )"
                            R"(bad\ufffd\ufffd overlong\ufffd\ufffd surrogate\ud800)" +
                            line,
                        ""}));
}

// An instance that refuses the login is not an instance without databases.
TEST_F(ConsoleProgramTest, ListAndUpdateAllFailWhenTheDatabasesCannotBeListed)
{
    script->openFailure = Failure(failure_code::AuthenticationFailed, "Login failed\tfor 'DBOPS'.");
    for (const auto& arguments : {std::vector<std::string>{"list"}, {"update", "--all"}})
        EXPECT_EQ(Run(arguments), (Finished{1, 0, "",
                                            "flagwright-cli: the databases could not be listed: "
                                            "Login failed\\tfor 'DBOPS'.\n"}))
            << arguments.back();
}

// What cannot be updated has its own exit code and message, and is left unchanged. Every line
// break of a message, a provider's bare LF or CR too, goes on in an indented line.
TEST_F(ConsoleProgramTest, UpdateEndsWithTheRunsOutcomeAndMessage)
{
    script->versionResult = VersionRows({"14.01.03"});
    EXPECT_EQ(Run({"update", "Emberline"}),
              (Finished{0, 0, "Congratulations: Update successful.\nTook N s.\n", ""}));
    EXPECT_EQ(Run({"update", ""}), (Finished{5, 0, "", "Flagwright: No database selected.\n"}));
    script->statements.clear();
    script->versionResult = VersionRows({"14.01.04"});
    EXPECT_EQ(Run({"update", "Emberline"}), (Finished{3, 0, "", Refused}));
    script->versionResult = VersionRows({});
    EXPECT_EQ(Run({"update", "Staging"}),
              (Finished{4, 0, "", "Flagwright: Database is not an Emberline database.\n"}));
    EXPECT_EQ(script->statements.size(), 2U); // the version query of each, nothing else
    // The server's and the driver's texts carry database names: shown as names are, so that no
    // escape sequence in one moves the cursor or erases a line of the log.
    script->openFailure =
        Failure(failure_code::ProviderFailed, "one\ntwo\rthree\r\nDatabase \"x\x1b[1A\x1b[2K\".");
    EXPECT_EQ(Run({"update", "Emberline"}),
              (Finished{1, 0, "",
                        "Rate Update Error: Error Number: 3000\n  Error Description: one\n  "
                        "two\n  three\n  Database \"x\\x1B[1A\\x1B[2K\".\n"}));
}

// Every line update --all prints is led by a name shown on one line, so that none can make
// or fake a line; the databases the catalog shows, just before their turn, that this login
// cannot open or write are not connected to.
TEST_F(ConsoleProgramTest, UpdateAllTellsEachDatabaseOnLinesOfItsOwn)
{
    const std::string faked = "x: updated\n9 updated, 0 skipped, 0 failed";
    const std::vector<std::vector<Variant>> availability = {
        {faked, "1", "ONLINE", "MULTI_USER", "READ_WRITE"},
        {"No Access", "0", "ONLINE", "MULTI_USER", "READ_WRITE"},
        {"Odd", "0", "NEW\tSTATE", "MULTI_USER", "READ_WRITE"},
        {"Copy", "1", "ONLINE", "MULTI_USER", "READ_ONLY"},
        {"Locked", "0", "ONLINE", "RESTRICTED_USER", "READ_WRITE"}};
    std::vector<std::pair<Variant, Variant>> catalog;
    for (const auto& row : availability) {
        catalog.emplace_back(row[0], "0");
        script->answers.push_back(
            {DatabaseAvailabilityQuery(static_cast<long>(catalog.size())),
             Recordset({"name", "HasAccess", "Status", "UserAccess", "Updateability"}, {row}),
             std::nullopt});
    }
    script->catalogResult = CatalogRows(catalog);
    script->versionResult = VersionRows({"14.01.04"});
    const std::string shown = R"(x: updated\n9 updated, 0 skipped, 0 failed)";
    EXPECT_EQ(Run({"update", "--all"}),
              (Finished{0, 0,
                        shown + ": skipped, not at version 14.01.03\n"
                                "No Access: skipped, no access for this login\n"
                                "Odd: skipped, not online (NEW\\tSTATE)\n"
                                "Copy: skipped, read-only\n"
                                "Locked: skipped, restricted to its owners and administrators\n"
                                "0 updated, 5 skipped, 0 failed\n",
                        shown +
                            ": Emberline Flagwright Message: This database does not need to "
                            "be updated.\n" +
                            shown + ":   \n" + shown +
                            ":   This update is only necessary for database version 14.01.03 \n"}));
    // The listing's connection, one for each question, and one run.
    ASSERT_EQ(script->opened.size(), 7U);
    EXPECT_EQ(script->opened[2].database, faked);
}
#ifdef _WIN32
// A Windows command line may hold a lone surrogate; it must not become U+FFFD, which could name
// another database: it is refused, and nothing is connected.
TEST_F(ConsoleProgramTest, ALoneSurrogateInTheCommandLineIsRefused)
{
    const auto arguments = Utf8ArgumentsOf(L"flagwright-cli.exe update \"Sales\xD800\"");
    ASSERT_TRUE(arguments);
    EXPECT_EQ(*arguments, (std::vector<std::string>{"update", "Sales\xED\xA0\x80"}));
    EXPECT_EQ(Run(*arguments).exitCode, 2);
    EXPECT_EQ(script->created, 0);
}
#endif
// --help is the console program's contract, which the README shows whole: one text.
TEST_F(ConsoleProgramTest, HelpIsTheContractTheReadmeShows)
{
    std::ifstream readme(FLAGWRIGHT_README);
    const std::string text((std::istreambuf_iterator<char>(readme)), {});
    const std::string open = "```text\nUsage: flagwright-cli ";
    const std::size_t start = text.find(open);
    ASSERT_NE(start, std::string::npos) << FLAGWRIGHT_README;
    const std::size_t from = start + open.find("Usage");
    EXPECT_EQ(Run({"--help"}),
              (Finished{0, 0, text.substr(from, text.find("```\n", from) - from), ""}));
}

// Every outcome of the table, its exit code and every count of the summaries are in --help,
// under its command.
TEST(Outcomes, AreAllInTheHelp)
{
    const std::string help = HelpText;
    // The words of each command's outcomes, from its line and those that go on under it.
    std::map<std::string, std::string> outcomes;
    std::istringstream lines(help.substr(help.find("\nOutcomes:\n") + 11));
    std::string command;
    for (std::string line; std::getline(lines, line) && !line.empty();) {
        if (line.rfind("    ", 0) != 0)
            command = line.substr(2, line.find(' ', 2) - 2);
        for (const char c : line.substr(line.find_first_not_of(' ', line.find(' ', 2))) + " ")
            outcomes[command] += c == ',' ? ' ' : c;
    }
    std::vector<const Outcome*> rows = {&Offered(), &Skipped("check"), &Skipped("update")};
    for (const RunOutcome outcome :
         {RunOutcome::Updated, RunOutcome::NoDatabase, RunOutcome::NotEmberline,
          RunOutcome::RefusedByGate, RunOutcome::Failed})
        rows.push_back(&OutcomeOf(outcome));
    for (const CheckOutcome outcome :
         {CheckOutcome::WouldUpdate, CheckOutcome::UpToDate, CheckOutcome::Drifted,
          CheckOutcome::ReadOnly, CheckOutcome::OtherVersion, CheckOutcome::NotEmberline,
          CheckOutcome::NoDatabase, CheckOutcome::Failed})
        rows.push_back(&OutcomeOf(outcome));
    for (const Outcome* row : rows) {
        const std::string& words = outcomes[std::string(row->command)];
        EXPECT_NE((" " + words).find(" " + std::string(row->word) + " "), std::string::npos)
            << row->word << " in " << words;
        EXPECT_NE(help.find("\n  " + std::to_string(row->exitCode) + "  "), std::string::npos)
            << row->word;
    }
    for (const char* summarised : {"check", "update"})
        for (const SummaryCount& count : SummaryCounts(summarised))
            EXPECT_NE(help.find(count.key), std::string::npos) << count.key;
}
} // namespace
