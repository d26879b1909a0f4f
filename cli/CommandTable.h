#pragma once

#include "cli/ExitCode.h"
#include "platform/ConnectionSlot.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace flagwright::cli {

// What every command runs on: the instance the window works with, through the same connection
// factory; out and err stand for stdout and stderr.
struct CommandContext {
    const ConnectionFactory& newConnection;
    const ConnectionSettings& instance;
    std::ostream& out;
    std::ostream& err;
};

struct Command;
using Handler = ExitCode (*)(const Command& command, const CommandContext& context);

// What the arguments ask the console program to do.
struct Command {
    std::string name;                 // the command word, or the program option (--help)
    std::string database;             // for a command that takes one: exactly as given
    std::vector<std::string> options; // the command's options that were given, each once
    Handler handler;

    bool Has(std::string_view option) const;
};

// An option a command takes, and what it changes, for --help.
struct CommandOption {
    std::string_view name;
    std::string_view help;
};

// One form of a command: all that parsing, dispatch and --help know of it.
struct CommandEntry {
    std::string_view name; // the command word
    std::string_view form; // the option that chooses this form of the command, if any
    bool takesName;        // runs on the database that the one argument after the word names
    std::string_view help; // what it does, for --help, which wraps it
    std::vector<CommandOption> options;
    Handler handler;
};

// list's option: each name exactly, followed by a NUL.
inline constexpr std::string_view NulSeparated = "-0";
// list's, check's and update's option: one JSON object per line instead of text.
inline constexpr std::string_view JsonLines = "--json";

// The commands' forms, in the order --help shows them.
const std::vector<CommandEntry>& CommandTable();

// An option that stands for the whole program, whatever else is given.
struct ProgramOption {
    std::vector<std::string_view> names; // the first is the one --help shows
    Handler handler;
};

// --help (or -h), then --version: the first of them given wins.
const std::vector<ProgramOption>& ProgramOptions();

} // namespace flagwright::cli
