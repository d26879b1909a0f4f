#include "cli/ConsoleProgram.h"

#include "cli/CommandLine.h"

#include <ostream>

namespace flagwright::cli {

int RunConsoleProgram(const std::vector<std::string>& arguments,
                      const ConnectionFactory& newConnection, const ConnectionSettings& instance,
                      std::ostream& out, std::ostream& err, const std::function<void()>& exactOut)
{
    const auto parsed = ParseCommandLine(arguments);
    if (const auto* wrong = std::get_if<UsageError>(&parsed)) {
        err << ProgramName << ": " << wrong->reason << "\nTry '" << ProgramName
            << " --help' for the commands.\n";
        return static_cast<int>(ExitCode::Usage);
    }
    const Command& command = std::get<Command>(parsed);
    if (exactOut && (command.Has(NulSeparated) || command.Has(JsonLines)))
        exactOut();
    return static_cast<int>(command.handler(command, {newConnection, instance, out, err}));
}

} // namespace flagwright::cli
