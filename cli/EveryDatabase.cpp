#include "cli/EveryDatabase.h"

#include "cli/CommandLine.h"
#include "cli/DisplayedText.h"
#include "cli/JsonReports.h"
#include "cli/SkipReason.h"

#include <ostream>
#include <type_traits>

namespace flagwright::cli {

namespace {
constexpr const char* NotListed = "the databases could not be listed: ";

template <typename Listing>
std::optional<std::invoke_result_t<Listing>> Listed(const Listing& list, const Command& command,
                                                    const CommandContext& context)
{
    try {
        return list();
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
} // namespace

std::optional<std::vector<std::string>> OfferedNames(const Command& command,
                                                     const CommandContext& context)
{
    return Listed([&] { return ListOfferedDatabases(context.newConnection, context.instance); },
                  command, context);
}

std::optional<std::vector<OfferedDatabase>> OfferedForAll(const Command& command,
                                                          const CommandContext& context)
{
    return Listed(
        [&] {
            return ListOfferedDatabasesWithAvailability(context.newConnection, context.instance);
        },
        command, context);
}

bool SkippedAndSaid(const OfferedDatabase& database, const Command& command,
                    const CommandContext& context)
{
    const std::optional<std::string> reason = SkipReason(database.availability);
    if (!reason)
        return false;
    if (command.Has(JsonLines))
        context.out << DatabaseLine(database.name, command.name, "skipped", ExitCode::Success)
                           .Text("reason", *reason)
                           .Line()
                    << std::endl;
    else
        context.out << Displayed(database.name) << ": skipped, " << *reason << std::endl;
    return true;
}

} // namespace flagwright::cli
