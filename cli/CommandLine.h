#pragma once

#include <string>
#include <variant>
#include <vector>

namespace flagwright::cli {

inline constexpr const char* ProgramName = "flagwright-cli";

// What the arguments ask the console program to do.
struct Command {
    enum class Action { Help, Version, List, Update, UpdateAll };
    Action action;
    std::string database;      // for Update: the name exactly as given, possibly empty
    bool nulSeparated = false; // for List (-0): each name exactly, followed by a NUL
};

// Arguments that ask for nothing the program does, and why, in a few words.
struct UsageError {
    std::string reason;
};

// Reads the arguments that follow the program's name. --help (or -h), then --version, win
// wherever they stand; after "--" every argument is a name, so that a database whose name
// begins with "-" can still be named. An argument that is not UTF-8 text is refused: it
// could only name a database by way of replacement characters.
std::variant<Command, UsageError> ParseCommandLine(const std::vector<std::string>& arguments);

} // namespace flagwright::cli
