#include "HelpText.h"

#include "ExitCode.h"

#include <string>

namespace flagwright::cli {

namespace {
constexpr const char* Commands = R"(Usage: flagwright-cli list [-0]
       flagwright-cli update NAME
       flagwright-cli update --all
       flagwright-cli --help | --version

Corrects the kind code table of Emberline databases at version 14.01.03 on the
local instance (local)\emberline2 and stamps them 14.01.04, as the Flagwright
window does, without a window.

  list          print the databases on offer, one per line
  list -0       print them exactly, each followed by a NUL, for xargs -0
  update NAME   update the database NAME (use update -- NAME for a name that
                begins with -)
  update --all  update every database that list prints, one after another;
                those at another version, those that are not Emberline
                databases and those this login cannot open (no access, or not
                online: offline, restoring, ...) are skipped; one in use by
                another connection fails

update NAME prints the run's message as TITLE: TEXT (a line break in TEXT goes
on in an indented line), on stdout when the update succeeded, else on stderr.
update --all prints NAME: OUTCOME for each database and then a summary line on
stdout; the messages of the runs go to stderr, each line led by NAME: . A
database this login cannot open is not connected to, and its line says why:
  NAME: skipped, no access for this login
  NAME: skipped, not online (STATE)     STATE: the server's word, e.g. OFFLINE
Printed on a line, a name shows its control characters as \t, \n, \r, \xHH (the
other C0 controls, DEL, and bytes that are not UTF-8) and \u0080 to \u009F.

Exit codes:
)";

std::string Line(ExitCode code, const char* meaning)
{
    return "  " + std::to_string(static_cast<int>(code)) + "  " + meaning + "\n";
}
} // namespace

std::string HelpText()
{
    return Commands + Line(ExitCode::Success, "updated (update --all: no database failed)") +
           Line(ExitCode::Failed, "the update failed, the databases could not be listed, or the "
                                  "output could not be written (update --all: also when a "
                                  "database failed)") +
           Line(ExitCode::Usage, "bad arguments; nothing was connected") +
           Line(ExitCode::RefusedByGate, "the database is not at version 14.01.03; unchanged") +
           Line(ExitCode::NotEmberline, "not an Emberline database; unchanged") +
           Line(ExitCode::NoDatabase, "no database given (an empty NAME)");
}

} // namespace flagwright::cli
