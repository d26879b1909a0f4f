#!/usr/bin/env bash
# The installed console program: its output and exit code for each kind of outcome, and
# update --all over a folder of sample databases (its arguments and texts: tests/cli).
source "$(dirname "$0")/session.sh"

# Runs the console program; sets out, err and code (stdout, stderr without CRs, exit code).
cli() {
    code=0
    wine "$installed_cli" "$@" </dev/null >"$SANDBOX_DIR/cli.out" 2>"$SANDBOX_DIR/cli.err" || code=$?
    # The elapsed times written "Took N s.", so that the output can be expected literally.
    out=$(tr -d '\r' <"$SANDBOX_DIR/cli.out" | sed -E 's/Took [0-9]+\.[0-9]{2} s\./Took N s./')
    err=$(tr -d '\r' <"$SANDBOX_DIR/cli.err" | sed -E 's/Took [0-9]+\.[0-9]{2} s\./Took N s./')
}

expect() { # CODE OUT ERR
    [ "$code" = "$1" ] && [ "$out" = "$2" ] && [ "$err" = "$3" ] ||
        fail "exit code $code, stdout [$out], stderr [$err]; expected $1, [$2], [$3]"
}

# Freshly seeded samples of its own, so that the outcomes do not depend on the other tests; the
# seed itself stays as seeded, for copies of Emberline before an update.
seed=$SANDBOX_DIR/cli-seed
folder=$SANDBOX_DIR/cli-databases
rm -rf "$seed" "$folder"
"$PYTHON3" "$SANDBOX" seed "$seed" >/dev/null
cp -r "$seed" "$folder"
sandbox_control "{\"cmd\": \"data\", \"dir\": \"$folder\"}"
trap 'sandbox_control "{\"cmd\": \"data\", \"dir\": \"$SANDBOX_DIR/data\"}"' EXIT

cli list
expect 0 $'Emberline\nEmberline Training\nEmberlineArchive\nReports\nStaging' ''
cli update EmberlineArchive
expect 3 '' 'Emberline Flagwright Message: This database does not need to be updated.
  
  This update is only necessary for database version 14.01.03 '
cli update 'No Such Database'
expect 1 '' 'Rate Update Error: Database in use or does not exist. If in use, close all connections to the database and retry.'
cli update --all
[ "$code" = 0 ] || fail "update --all: exit code $code; $err"
expected_all='Emberline: updated
Emberline Training: updated
EmberlineArchive: skipped, not at version 14.01.03
Reports: skipped, not an Emberline database
Staging: skipped, not an Emberline database
2 updated, 3 skipped, 0 failed'
[ "$out" = "$expected_all" ] || fail "update --all printed [$out]"
expect_updated "$folder/Emberline.sqlite"
[ "$(stored_default "$folder/Emberline Training.sqlite" DBVersion)" = 14.01.04 ] ||
    fail "Emberline Training was not stamped"

# A name beyond ASCII reaches the run whole: the arguments are read as wide text, not in the
# ANSI code page.
cp "$seed/Emberline.sqlite" "$folder/Kåre Ørsted Ελλάδα.sqlite"
cli update 'Kåre Ørsted Ελλάδα'
expect 0 $'Congratulations: Update successful.\nTook N s.' ''
expect_updated "$folder/Kåre Ørsted Ελλάδα.sqlite"
# Read back as JSON, the name in UTF-8 whatever the console's code page.
cli check --json 'Kåre Ørsted Ελλάδα'
expect 0 '{"database": "Kåre Ørsted Ελλάδα", "command": "check", "outcome": "up-to-date", "exitCode": 0, "version": "14.01.04", "kindCodes": {"table": 791, "present": 791, "corrected": 791, "toChange": 0, "missing": 0}, "failure": null}' ''

# list -0 and --json write their bytes exactly, in binary: the C runtime's text mode would make
# a name's own LF CR LF, and name another database.
odd_name=$'Sales\nEast\r'
cp "$seed/Emberline.sqlite" "$folder/$odd_name.sqlite"
wine "$installed_cli" list -0 </dev/null >"$SANDBOX_DIR/list0.out" || fail "list -0 failed"
cmp -s "$SANDBOX_DIR/list0.out" <(printf '%s\0' Emberline 'Emberline Training' EmberlineArchive \
    'Kåre Ørsted Ελλάδα' Reports "$odd_name" Staging) ||
    fail "list -0 wrote $(od -c "$SANDBOX_DIR/list0.out" | head -5)"
wine "$installed_cli" list --json </dev/null >"$SANDBOX_DIR/list.json" || fail "list --json failed"
! grep -q $'\r' "$SANDBOX_DIR/list.json" || fail "list --json wrote a CR: $(od -c "$SANDBOX_DIR/list.json")"
grep -qF '{"database": "Sales\nEast\r", ' "$SANDBOX_DIR/list.json" || fail "list --json lost the name"
rm "$folder/$odd_name.sqlite"

# Names that, as unixODBC reads the connection string, choose the driver library (the second
# ends the value with U+017D, whose low byte is "}"): Wine's odbc32 hands the string to the
# host's unixODBC, so a host library is what would be loaded. It never is.
mark=$SANDBOX_DIR/injected-library-loaded
library=$SANDBOX_DIR/injected-library.so
g++ -shared -fPIC -DLOADED_MARK="\"$mark\"" -o "$library" "$(dirname "$0")/../e2e/InjectedLibrary.cpp"
rm -f "$mark"
cli update "x}DRIVER={$library}x"
[ ! -e "$mark" ] || fail "the library named in the database name was loaded"
expect 1 '' 'Rate Update Error: Database in use or does not exist. If in use, close all connections to the database and retry.'
cli update "xŽDRIVER={${library}Žx"
[ ! -e "$mark" ] || fail "the library named in the database name was loaded"
[ "$code" = 1 ] && [ "$out" = '' ] || fail "exit code $code, stdout [$out], stderr [$err]"

# The drivers are tried in turn: FreeTDS registered as Microsoft's current driver is handed
# the instance by name, as Microsoft's drivers are, and cannot reach (local)\emberline2; the
# run goes on to FreeTDS itself, within the one login time-out.
registry=$SANDBOX_DIR/drivers-registry
mkdir -p "$registry"
printf '[ODBC Driver 18 for SQL Server]\nDriver=libtdsodbc.so\n[FreeTDS]\nDriver=libtdsodbc.so\n' \
    >"$registry/odbcinst.ini"
cp "$seed/Emberline.sqlite" "$folder/Fallback.sqlite"
started=$SECONDS
ODBCSYSINI=$registry cli update Fallback
expect 0 $'Congratulations: Update successful.\nTook N s.' ''
expect_updated "$folder/Fallback.sqlite"
((SECONDS - started < 15)) || fail "the fallback took $((SECONDS - started)) s"
# With TDSHOST, FreeTDS finds the host under any server name: the first driver reaches the
# instance, and the login it is refused ends the open there, one connection accepted.
# So it ends whatever the server's reason: 18401, a server in script upgrade mode, too.
for refusal in true 18401; do
    sandbox_control "{\"cmd\": \"faults\", \"faults\": {\"refuse_logins\": $refusal}}"
    accepted=$(sandbox_control '{"cmd": "status"}' accepted)
    TDSHOST=127.0.0.1 ODBCSYSINI=$registry cli update Fallback
    sandbox_control '{"cmd": "faults", "faults": {}}'
    expect 1 '' 'Rate Update Error: Login failed.  Please try again.'
    [ "$(sandbox_control '{"cmd": "status"}' accepted)" = $((accepted + 1)) ] ||
        fail "a driver after the refusal ($refusal) was tried"
done

# Against SQL Server 2019 Express, which encrypts every login with its self-signed certificate:
# the check's reads, its listing and its question each log in inside TLS.
sandbox_control '{"cmd": "settings", "settings": {"persona": "2019"}}'
cli check Fallback
sandbox_control '{"cmd": "settings", "settings": {}}'
expect 0 'Fallback: up to date (14.01.04): 0 of 791 to change, 791 already corrected, 0 missing' ''
expect_tls_logins 3 false
