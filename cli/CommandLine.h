#pragma once

#include "cli/CommandTable.h"

#include <string>
#include <variant>
#include <vector>

namespace flagwright::cli {

inline constexpr const char* ProgramName = "flagwright-cli";

// Arguments that ask for nothing the program does, and why, in a few words.
struct UsageError {
    std::string reason;
};

// Reads the arguments that follow the program's name against CommandTable. A program option
// (ProgramOptions) wins wherever it stands; after "--" every argument is a name, so that a
// database whose name begins with "-" can still be named. An argument that is not UTF-8 text
// is refused: it could only name a database by way of replacement characters.
std::variant<Command, UsageError> ParseCommandLine(const std::vector<std::string>& arguments);

} // namespace flagwright::cli
