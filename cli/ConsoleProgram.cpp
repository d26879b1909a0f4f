#include "ConsoleProgram.h"

#include "CommandLine.h"
#include "Commands.h"
#include "HelpText.h"

#include <ostream>

namespace flagwright::cli {

namespace {
ExitCode Run(const Command& command, const ConnectionFactory& newConnection,
             const ConnectionSettings& instance, std::ostream& out, std::ostream& err)
{
    switch (command.action) {
    case Command::Action::Help:
        out << HelpText();
        return ExitCode::Success;
    case Command::Action::Version:
        out << FLAGWRIGHT_DISPLAY_VERSION << '\n';
        return ExitCode::Success;
    case Command::Action::List:
        return ListDatabases(newConnection, instance, command.nulSeparated, out, err);
    case Command::Action::Update:
        return UpdateDatabase(command.database, newConnection, instance, out, err);
    case Command::Action::UpdateAll:
        break;
    }
    return UpdateAllDatabases(newConnection, instance, out, err);
}
} // namespace

int RunConsoleProgram(const std::vector<std::string>& arguments,
                      const ConnectionFactory& newConnection, const ConnectionSettings& instance,
                      std::ostream& out, std::ostream& err)
{
    const auto parsed = ParseCommandLine(arguments);
    if (const auto* wrong = std::get_if<UsageError>(&parsed)) {
        err << ProgramName << ": " << wrong->reason << "\nTry '" << ProgramName
            << " --help' for the commands.\n";
        return static_cast<int>(ExitCode::Usage);
    }
    return static_cast<int>(Run(std::get<Command>(parsed), newConnection, instance, out, err));
}

} // namespace flagwright::cli
