#pragma once

#include "platform/ConnectionSlot.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace flagwright::cli {

inline constexpr const char* ProgramName = "flagwright-cli";
inline constexpr std::string_view All = "--all";        // check and update: every database
inline constexpr std::string_view NulSeparated = "-0";  // list: names exactly, NUL after each
inline constexpr std::string_view JsonLines = "--json"; // JSON Lines instead of text

// What the arguments ask the console program to do.
struct Command {
    std::string name;                 // list, check, update; or --help, --version
    std::string database;             // what check NAME and update NAME name, exactly as given
    std::vector<std::string> options; // those given, each once, in the order given

    bool Has(std::string_view option) const;
};

// Arguments that ask for nothing the program does, and why, in a few words.
struct UsageError {
    std::string reason;
};

// Reads the arguments after the program's name. --help (or -h), then --version, win wherever
// they stand before "--"; after "--" every argument is a name, so that a database whose name
// begins with "-" can be named. An argument that is not UTF-8 text is refused first: it could
// only name a database by way of replacement characters.
std::variant<Command, UsageError> ParseCommandLine(const std::vector<std::string>& arguments);

// The console program for the arguments after its name: runs the command they ask for and
// returns the exit status. Bad arguments are told on err, and nothing is connected. What must
// arrive byte for byte (-0's names, JSON Lines) makes standard output binary first
// (ExactStandardOutput).
int RunConsoleProgram(const std::vector<std::string>& arguments,
                      const ConnectionFactory& newConnection, const ConnectionSettings& instance,
                      std::ostream& out, std::ostream& err);

} // namespace flagwright::cli
