#!/usr/bin/env bash
# With the instance down the window still opens, at once, and a run fails at once with the
# message for a database that cannot be opened.
source "$(dirname "$0")/session.sh"

sandbox_control '{"cmd": "stop"}'
trap 'sandbox_control "{\"cmd\": \"start\"}"' EXIT
started=$SECONDS
start_window
update_with_name Emberline
expect_box 'Rate Update Error|none|Database in use or does not exist. If in use, close all connections to the database and retry.'
took=$((SECONDS - started))
[ "$took" -le 10 ] || fail "the window and the failed run took $took s"
close_window
