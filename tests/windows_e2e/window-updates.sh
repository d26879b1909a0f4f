#!/usr/bin/env bash
# The installed window program corrects the sample database, then refuses it as updated, and
# ends when its window is closed; against SQL Server 2019 Express with "Force Encryption" on,
# so that its list, its run and its refusal each go inside TLS, through FreeTDS under Wine.
source "$(dirname "$0")/session.sh"

sandbox_control '{"cmd": "settings", "settings": {"persona": "2019", "encrypt": "all"}}' >/dev/null
trap 'sandbox_control "{\"cmd\": \"settings\", \"settings\": {}}" >/dev/null' EXIT

start_window
update_with_name Emberline
expect_box 'Congratulations|icon|Update successful.'
expect_updated "$SANDBOX_DIR/data/Emberline.sqlite"

xdotool key space # the focus is back on the button, the name still in the combo box
expect_box 'Emberline Flagwright Message|none|This database does not need to be updated.\r\n\r\nThis update is only necessary for database version 14.01.03 '
expect_tls_logins 3 true
close_window
