#include "cli/ConsoleProgram.h"
#include "platform/Text.h"
#include "platform/TextForms.h"

#include <algorithm>

namespace flagwright::cli {

namespace {
std::string Quoted(const std::string& argument)
{
    std::string quoted(1, '\''); // no literal prepended to a temporary: GCC 12 -Wrestrict
    quoted += Displayed(argument);
    quoted += '\'';
    return quoted;
}

bool IsOption(const std::string& argument) { return argument.size() > 1 && argument[0] == '-'; }

UsageError Unexpected(const std::string& argument)
{
    return {"unexpected argument " + Quoted(argument)};
}
} // namespace

bool Command::Has(std::string_view option) const
{
    return std::find(options.begin(), options.end(), option) != options.end();
}

std::variant<Command, UsageError> ParseCommandLine(const std::vector<std::string>& arguments)
{
    for (const std::string& argument : arguments)
        if (!IsWellFormedUtf8(argument))
            return UsageError{"argument " + Quoted(argument) + " is not UTF-8 text"};
    const auto end = std::find(arguments.begin(), arguments.end(), "--");
    for (const char* option : {"--help", "-h", "--version"})
        if (std::find(arguments.begin(), end, option) != end)
            return Command{option == std::string("--version") ? "--version" : "--help", {}, {}};

    Command command;
    std::vector<std::string> words;
    for (auto it = arguments.begin(); it != arguments.end(); ++it) {
        if (it > end || !IsOption(*it))
            words.push_back(*it);
        else if (it == end)
            continue;
        else if (*it != All && *it != NulSeparated && *it != JsonLines)
            return UsageError{"unknown option " + Quoted(*it)};
        else if (!command.Has(*it))
            command.options.push_back(*it);
    }
    if (words.empty())
        return UsageError{"no command given"};
    command.name = words.front();
    const bool known =
        command.name == "list" || command.name == "check" || command.name == "update";
    // An option of one command is refused with any other, even one that is no command.
    if (command.Has(NulSeparated) && command.name != "list")
        return UsageError{"-0 belongs to list"};
    if (command.Has(JsonLines) && !known)
        return UsageError{"--json belongs to list, check and update"};
    if (!known)
        return UsageError{"unknown command " + Quoted(command.name)};
    const std::vector<std::string> names(words.begin() + 1, words.end());
    if (command.name == "list") {
        if (command.Has(All))
            return UsageError{"--all belongs to check and update, not to list"};
        if (!names.empty())
            return Unexpected(names.front());
        if (command.Has(NulSeparated) && command.Has(JsonLines))
            return UsageError{"list takes -0 or --json, not both"};
    } else if (command.Has(All)) {
        if (!names.empty())
            return UsageError{command.name + " takes a database name or --all, not both"};
    } else if (names.empty()) {
        return UsageError{command.name + " needs a database name, or --all"};
    } else if (names.size() > 1) {
        return Unexpected(names[1]);
    } else {
        command.database = names.front();
    }
    return command;
}

} // namespace flagwright::cli
