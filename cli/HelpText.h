#pragma once

namespace flagwright::cli {

// What --help prints: the console program's contract, which the README shows whole (a test
// holds the two together, and this to the table of outcomes).
inline constexpr const char* HelpText = R"(Usage: flagwright-cli list [-0] [--json]
       flagwright-cli check NAME [--json]
       flagwright-cli check --all [--json]
       flagwright-cli update NAME [--json]
       flagwright-cli update --all [--json]
       flagwright-cli --help | --version

Corrects the kind code table of Emberline databases at version 14.01.03 on the
local instance (local)\emberline2 and stamps them 14.01.04, as the Flagwright
window does, without a window.

  list                 print the databases on offer, one per line
  list -0              print them exactly, each followed by a NUL, for xargs -0
  check NAME           tell what update NAME would find, changing nothing: the
                       version, and how many of the 791 kind codes of the
                       correction table are to change, already corrected, or
                       missing
  check --all          check every database that list prints
  update NAME          update the database NAME (use update -- NAME for a name
                       that begins with -)
  update --all         update every database that list prints, one after
                       another
  ... --json           print one JSON object per line instead (below)

update NAME prints the run's message, TITLE: TEXT (a line break in TEXT goes on
in an indented line): on stdout when the update succeeded, then how long it
took; else on stderr, and after a failure once it had begun to write, where it
stopped and that running it again is safe. update --all prints NAME: updated,
NAME: skipped, REASON or NAME: failed for each database, then a summary line,
on stdout; the runs' messages go to stderr, each line led by NAME: .
check prints NAME: FOUND on stdout (check --all: for each, then a summary
line), and for a failure the message an update would show on stderr:
  would be updated (14.01.03): T of 791 to change, C already corrected, M
    missing        up to date (14.01.04): ...        drifted (14.01.04): ...
  read-only (V): ...       at another version (V): an update would refuse it
  not an Emberline database       no database given       failed
--all asks the catalog about each database just before its turn, and skips
one this login cannot open (no access for this login; not online (STATE);
restricted to its owners and administrators); update --all also one that is
read-only, not at version 14.01.03, or not an Emberline database. One in use
by another connection fails: it may succeed later.
A name on a line shows its control characters as \t, \n, \r, \xHH (the other
C0 controls, DEL, and bytes that are not UTF-8) and \u0080 to \u009F.

--json prints JSON Lines (UTF-8) on stdout only. Every line has "database",
"command", "outcome" and "exitCode" (what the command on that database alone
would exit with); a skipped database also "reason".
  check adds "version", "kindCodes" ({"table", "present", "corrected",
    "toChange", "missing"}, or null when not read) and "failure"; a failed
    check also "message".
  update adds "versionBefore", "versionAfter" (null when not stamped),
    "corrections" (completed without error), "stoppedAt" (null, or {"index",
    "kindCode"}), "message" ({"title", "text"}: the window's message),
    "failure" (null, or {"code", "sqlState", "native"}) and "seconds".
  --all ends with {"summary": {COUNT: N, ...}, "exitCode": N}; the counts:
    check   wouldUpdate, upToDate, drifted, otherVersion, notEmberline,
            readOnly, skipped, failed
    update  updated, skipped, failed
  When the databases cannot be listed: "database" null, "outcome" "failed",
  "error" and "failure".
Outcomes:
  list     offered
  check    would-update, up-to-date, drifted, read-only, other-version,
           not-emberline, no-database, failed, skipped
  update   updated, refused, not-emberline, no-database, failed, skipped

Exit codes:
  0  updated; check: would be updated, or up to date (--all: none failed, and
     for check none drifted)
  1  the update or check failed, the databases could not be listed, or the
     output could not be written (--all: also when a database failed)
  2  bad arguments; nothing was connected
  3  not at version 14.01.03; nothing changed (check: at a version other
     than 14.01.03 and 14.01.04)
  4  not an Emberline database; nothing changed
  5  no database given (an empty NAME)
  6  check: at 14.01.04, but a kind code no longer holds its corrected flags
     (check --all: one drifted, none failed)
  7  check: at 14.01.03 or 14.01.04, but the database cannot be written
     (read-only, a standby copy or a snapshot)
)";

} // namespace flagwright::cli
