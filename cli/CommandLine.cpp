#include "cli/CommandLine.h"

#include "cli/DisplayedText.h"
#include "platform/Text.h"

#include <algorithm>

namespace flagwright::cli {

namespace {
constexpr std::string_view EndOfOptions = "--";
constexpr const char* NameWanted = "a database name";

bool IsOption(const std::string& argument) { return argument.size() > 1 && argument[0] == '-'; }

std::string Quoted(const std::string& argument)
{
    std::string quoted(1, '\''); // no literal prepended to a temporary: GCC 12 -Wrestrict
    quoted += Displayed(argument);
    quoted += '\'';
    return quoted;
}

template <typename Test>
const CommandEntry* Find(Test test)
{
    const auto& table = CommandTable();
    const auto found = std::find_if(table.begin(), table.end(), test);
    return found == table.end() ? nullptr : &*found;
}

// "check and update": the commands that have a form or option, for saying where it belongs.
template <typename Test>
std::string Owners(Test test)
{
    std::vector<std::string_view> names;
    for (const CommandEntry& entry : CommandTable())
        if (test(entry) && std::find(names.begin(), names.end(), entry.name) == names.end())
            names.push_back(entry.name);
    std::string owners;
    for (std::size_t i = 0; i < names.size(); ++i)
        owners.append(i == 0 ? "" : i + 1 == names.size() ? " and " : ", ").append(names[i]);
    return owners;
}

bool TakesOption(const CommandEntry& entry, std::string_view option)
{
    return std::any_of(entry.options.begin(), entry.options.end(),
                       [&](const CommandOption& taken) { return taken.name == option; });
}

// The program option that wins among the arguments before "--", if any.
const ProgramOption* ProgramOptionIn(const std::vector<std::string>& arguments)
{
    const auto end = std::find(arguments.begin(), arguments.end(), EndOfOptions);
    for (const ProgramOption& option : ProgramOptions())
        for (const std::string_view name : option.names)
            if (std::find(arguments.begin(), end, name) != end)
                return &option;
    return nullptr;
}

// "update needs a database name, or --all": every way the command's forms can be given.
std::string Needs(const std::string& command)
{
    std::string needs = command + " needs ";
    std::string_view separator;
    if (Find([&](const CommandEntry& e) { return e.name == command && e.takesName; })) {
        needs += NameWanted;
        separator = ", or ";
    }
    for (const CommandEntry& entry : CommandTable())
        if (entry.name == command && !entry.form.empty()) {
            needs += separator;
            needs += entry.form;
            separator = ", or ";
        }
    return needs;
}

// The command's form that the given options choose, with its database, or why there is none.
std::variant<Command, UsageError> Form(const std::string& command,
                                       const std::vector<std::string>& options,
                                       const std::vector<std::string>& names)
{
    const CommandEntry* chosen =
        Find([&](const CommandEntry& e) { return e.name == command && e.form.empty(); });
    std::string formGiven;
    for (const std::string& option : options) {
        const auto isForm = [&](const CommandEntry& e) { return e.form == option; };
        if (!Find(isForm))
            continue;
        chosen = Find([&](const CommandEntry& e) { return e.name == command && isForm(e); });
        if (!chosen)
            return UsageError{option + " belongs to " + Owners(isForm) + ", not to " + command};
        formGiven = option;
    }
    if (chosen && !chosen->takesName && !names.empty()) {
        if (Find([&](const CommandEntry& e) { return e.name == command && e.takesName; }))
            return UsageError{command + " takes " + NameWanted + " or " + formGiven + ", not both"};
        return UsageError{"unexpected argument " + Quoted(names.front())};
    }
    if (!chosen || (chosen->takesName && names.empty()))
        return UsageError{Needs(command)};
    if (chosen->takesName && names.size() > 1)
        return UsageError{"unexpected argument " + Quoted(names[1])};
    return Command{command, chosen->takesName ? names.front() : std::string(), options,
                   chosen->handler};
}
} // namespace

std::variant<Command, UsageError> ParseCommandLine(const std::vector<std::string>& arguments)
{
    for (const std::string& argument : arguments)
        if (!IsWellFormedUtf8(argument))
            return UsageError{"argument " + Quoted(argument) + " is not UTF-8 text"};
    if (const ProgramOption* option = ProgramOptionIn(arguments))
        return Command{std::string(option->names.front()), {}, {}, option->handler};

    std::vector<std::string> words;
    std::vector<std::string> options;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (optionsEnded || !IsOption(argument))
            words.push_back(argument);
        else if (argument == EndOfOptions)
            optionsEnded = true;
        else if (!Find([&](const CommandEntry& e) {
                     return e.form == argument || TakesOption(e, argument);
                 }))
            return UsageError{"unknown option " + Quoted(argument)};
        else if (std::find(options.begin(), options.end(), argument) == options.end())
            options.push_back(argument);
    }
    if (words.empty())
        return UsageError{"no command given"};
    const std::string& command = words.front();
    // An option of one command is refused with any other, even one that is no command.
    for (const std::string& option : options) {
        const auto takes = [&](const CommandEntry& e) { return TakesOption(e, option); };
        if (Find(takes) &&
            !Find([&](const CommandEntry& e) { return e.name == command && takes(e); }))
            return UsageError{option + " belongs to " + Owners(takes)};
    }
    if (!Find([&](const CommandEntry& e) { return e.name == command; }))
        return UsageError{"unknown command " + Quoted(command)};
    return Form(command, options, {words.begin() + 1, words.end()});
}

} // namespace flagwright::cli
