#include "cli/EveryDatabase.h"

#include "cli/CommandLine.h"
#include "cli/DisplayedText.h"
#include "cli/JsonReports.h"

#include <ostream>

namespace flagwright::cli {

namespace {
constexpr const char* NotListed = "the databases could not be listed: ";
} // namespace

std::optional<std::vector<OfferedDatabase>> OfferedDatabasesOrSaid(const Command& command,
                                                                   const CommandContext& context)
{
    try {
        return ListOfferedDatabases(context.newConnection, context.instance);
    } catch (const Failure& failure) {
        if (command.Has(JsonLines)) {
            JsonObject line = DatabaseLine(std::nullopt, command.name, "failed", ExitCode::Failed);
            line.Text("error", NotListed + failure.Description());
            context.out << AddFailure(line, failure).Line() << std::endl;
        } else {
            context.err << ProgramName << ": " << NotListed << Displayed(failure.Description())
                        << std::endl;
        }
        return std::nullopt;
    }
}

bool SkippedAndSaid(const std::string& name, const std::optional<std::string>& reason,
                    const Command& command, const CommandContext& context)
{
    if (!reason)
        return false;
    if (command.Has(JsonLines))
        context.out << DatabaseLine(name, command.name, "skipped", ExitCode::Success)
                           .Text("reason", *reason)
                           .Line()
                    << std::endl;
    else
        context.out << Displayed(name) << ": skipped, " << *reason << std::endl;
    return true;
}

} // namespace flagwright::cli
