#include "CommandLine.h"
#include "ConsoleProgram.h"
#include "EmberlineInstance.h"
#include "ScriptedConnection.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace flagwright;
using namespace flagwright::cli;

namespace {
// A command line, and what it asks for: "name(database) option..." or the reason it is refused.
struct Case {
    std::vector<std::string> arguments;
    std::string parsed;
    std::string refused;
};

std::string Parsed(const Command& command)
{
    std::string parsed = command.name + "(" + command.database + ")";
    for (const std::string& option : command.options)
        parsed += " " + option;
    return parsed;
}

class CommandLineTest : public ::testing::TestWithParam<Case> {};

// A refused command line is told in two lines on stderr, and nothing is connected.
TEST_P(CommandLineTest, AsksForItsCommandOrIsRefused)
{
    const Case& given = GetParam();
    const auto parsed = ParseCommandLine(given.arguments);
    if (given.refused.empty()) {
        ASSERT_TRUE(std::holds_alternative<Command>(parsed)) << std::get<UsageError>(parsed).reason;
        EXPECT_EQ(Parsed(std::get<Command>(parsed)), given.parsed);
        return;
    }
    const auto script = std::make_shared<flagwright::testing::ConnectionScript>();
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(
        RunConsoleProgram(given.arguments, flagwright::testing::ScriptedConnection::Factory(script),
                          EmberlineInstance(), out, err),
        2);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "flagwright-cli: " + given.refused +
                             "\nTry 'flagwright-cli --help' for the commands.\n");
    EXPECT_EQ(script->created, 0);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, CommandLineTest,
    ::testing::Values(
        Case{{"list"}, "list()", ""}, Case{{"-0", "list", "-0"}, "list() -0", ""},
        Case{{"update", "Emberline Training"}, "update(Emberline Training)", ""},
        Case{{"update", ""}, "update()", ""}, Case{{"update", "-"}, "update(-)", ""},
        Case{{"--all", "update"}, "update() --all", ""},
        // After "--" every argument is a name, the program's options included.
        Case{{"update", "--", "-E Zürich"}, "update(-E Zürich)", ""},
        Case{{"update", "--", "-h"}, "update(-h)", ""},
        Case{{"update", "--", "--help"}, "update(--help)", ""},
        Case{{"update", "--", "--all"}, "update(--all)", ""},
        Case{{"--", "update", "--version"}, "update(--version)", ""},
        Case{{"list", "--", "--help"}, "", "unexpected argument '--help'"},
        // Before "--", --help and -h, then --version, win wherever they stand.
        Case{{"update", "Emberline", "-h"}, "--help()", ""},
        Case{{"--version", "--bogus", "--help", "--"}, "--help()", ""},
        Case{{"upgrade", "--version", "-0"}, "--version()", ""},
        // Only text can name a database: an argument that is not UTF-8 is refused first.
        Case{{"--help", "Emberline\xff"}, "", "argument 'Emberline\\xFF' is not UTF-8 text"},
        Case{{}, "", "no command given"}, Case{{"-0"}, "", "no command given"},
        Case{{"upgrade", "Emberline"}, "", "unknown command 'upgrade'"},
        Case{{"--", "--all"}, "", "unknown command '--all'"},
        Case{{"upgrade\n"}, "", "unknown command 'upgrade\\n'"},
        Case{{"update", "--force", "Emberline"}, "", "unknown option '--force'"},
        Case{{"update"}, "", "update needs a database name, or --all"},
        Case{{"update", "Emberline", "Emberline Training"},
             "",
             "unexpected argument 'Emberline Training'"},
        Case{{"update", "--all", "Emberline"},
             "",
             "update takes a database name or --all, not both"},
        Case{{"list", "Emberline"}, "", "unexpected argument 'Emberline'"},
        Case{{"list", "--all", "Emberline"}, "", "--all belongs to update, not to list"},
        Case{{"update", "-0", "Emberline"}, "", "-0 belongs to list"},
        Case{{"upgrade", "-0"}, "", "-0 belongs to list"}));
} // namespace
