#include "cli/CommandTable.h"

#include "cli/Commands.h"

#include <algorithm>

namespace flagwright::cli {

bool Command::Has(std::string_view option) const
{
    return std::find(options.begin(), options.end(), option) != options.end();
}

const std::vector<CommandEntry>& CommandTable()
{
    static const CommandOption Json{JsonLines,
                                    "print one JSON object per line instead (see below)"};
    static const std::vector<CommandEntry> commands = {
        {"list",
         {},
         false,
         "print the databases on offer, one per line",
         {{NulSeparated, "print them exactly, each followed by a NUL, for xargs -0"}, Json},
         ListDatabases},
        {"check",
         {},
         true,
         "tell what update NAME would find, changing nothing: the version, and how many of "
         "the 791 kind codes of the correction table are present, already corrected, to "
         "change, or missing",
         {Json},
         CheckDatabaseCommand},
        {"check",
         "--all",
         false,
         "check every database that list prints, skipping those this login cannot open",
         {Json},
         CheckAllDatabases},
        {"update",
         {},
         true,
         "update the database NAME (use update -- NAME for a name that begins with -)",
         {Json},
         UpdateDatabase},
        {"update",
         "--all",
         false,
         "update every database that list prints, one after another; those at another "
         "version, those that are not Emberline databases and those this login cannot open "
         "(no access, or not online: offline, restoring, ...) are skipped; one in use by "
         "another connection fails",
         {Json},
         UpdateAllDatabases},
    };
    return commands;
}

const std::vector<ProgramOption>& ProgramOptions()
{
    static const std::vector<ProgramOption> options = {{{"--help", "-h"}, ShowHelp},
                                                       {{"--version"}, ShowVersion}};
    return options;
}

} // namespace flagwright::cli
