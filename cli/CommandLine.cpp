#include "CommandLine.h"

#include "DisplayedText.h"
#include "Text.h"

#include <algorithm>
#include <iterator>

namespace flagwright::cli {

namespace {
constexpr const char* EndOfOptions = "--";

bool IsOption(const std::string& argument) { return argument.size() > 1 && argument[0] == '-'; }

// The options before "--", where --help and --version are looked for.
std::vector<std::string> Options(const std::vector<std::string>& arguments)
{
    const auto end = std::find(arguments.begin(), arguments.end(), EndOfOptions);
    std::vector<std::string> options;
    std::copy_if(arguments.begin(), end, std::back_inserter(options), IsOption);
    return options;
}

bool Holds(const std::vector<std::string>& options, const std::string& option)
{
    return std::find(options.begin(), options.end(), option) != options.end();
}

std::string Quoted(const std::string& argument)
{
    std::string quoted(1, '\''); // no literal prepended to a temporary: GCC 12 -Wrestrict
    quoted += Displayed(argument);
    quoted += '\'';
    return quoted;
}

std::variant<Command, UsageError> UpdateCommand(const std::vector<std::string>& names, bool all)
{
    if (all && !names.empty())
        return UsageError{"update takes a database name or --all, not both"};
    if (all)
        return Command{Command::Action::UpdateAll, {}};
    if (names.empty())
        return UsageError{"update needs a database name, or --all"};
    if (names.size() > 1)
        return UsageError{"unexpected argument " + Quoted(names[1])};
    return Command{Command::Action::Update, names[0]};
}
} // namespace

std::variant<Command, UsageError> ParseCommandLine(const std::vector<std::string>& arguments)
{
    for (const std::string& argument : arguments)
        if (!IsWellFormedUtf8(argument))
            return UsageError{"argument " + Quoted(argument) + " is not UTF-8 text"};
    const std::vector<std::string> options = Options(arguments);
    if (Holds(options, "--help") || Holds(options, "-h"))
        return Command{Command::Action::Help, {}};
    if (Holds(options, "--version"))
        return Command{Command::Action::Version, {}};

    std::vector<std::string> words;
    bool all = false;
    bool nulSeparated = false;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (optionsEnded || !IsOption(argument))
            words.push_back(argument);
        else if (argument == EndOfOptions)
            optionsEnded = true;
        else if (argument == "--all")
            all = true;
        else if (argument == "-0")
            nulSeparated = true;
        else
            return UsageError{"unknown option " + Quoted(argument)};
    }
    if (words.empty())
        return UsageError{"no command given"};
    const std::string& command = words.front();
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    if (nulSeparated && command != "list")
        return UsageError{"-0 belongs to list"};
    if (command == "update")
        return UpdateCommand(rest, all);
    if (command != "list")
        return UsageError{"unknown command " + Quoted(command)};
    if (all)
        return UsageError{"--all belongs to update, not to list"};
    if (!rest.empty())
        return UsageError{"unexpected argument " + Quoted(rest.front())};
    return Command{Command::Action::List, {}, nulSeparated};
}

} // namespace flagwright::cli
