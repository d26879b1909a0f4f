#include "cli/Commands.h"

#include "cli/CommandLine.h"
#include "cli/DisplayedText.h"
#include "cli/EveryDatabase.h"
#include "cli/HelpText.h"
#include "cli/JsonReports.h"

#include <ostream>

namespace flagwright::cli {

ExitCode ShowHelp(const Command&, const CommandContext& context)
{
    context.out << HelpText();
    return ExitCode::Success;
}

ExitCode ShowVersion(const Command&, const CommandContext& context)
{
    context.out << FLAGWRIGHT_DISPLAY_VERSION << '\n';
    return ExitCode::Success;
}

ExitCode ListDatabases(const Command& command, const CommandContext& context)
{
    if (command.Has(NulSeparated) && command.Has(JsonLines)) {
        context.err << ProgramName << ": list takes " << NulSeparated << " or " << JsonLines
                    << ", not both\n";
        return ExitCode::Usage;
    }
    const auto databases = OfferedDatabasesOrSaid(command, context);
    if (!databases)
        return ExitCode::Failed;
    for (const auto& [name, id] : *databases) {
        if (command.Has(NulSeparated))
            context.out << name << '\0';
        else if (command.Has(JsonLines))
            context.out << DatabaseLine(name, "list", "offered", ExitCode::Success).Line() << '\n';
        else
            context.out << Displayed(name) << '\n';
    }
    context.out.flush();
    return ExitCode::Success;
}

} // namespace flagwright::cli
