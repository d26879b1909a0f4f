#!/usr/bin/env bash
# Checks the playbook's syntax (its Windows tasks too), then runs it on this machine against the
# sandbox instance in SANDBOX_DIR and compares what it tells of the host, for three hosts:
# - freshly seeded samples and one database with a hostile name: each one it takes is updated;
# - a plain database and a drifted one with the hostile name: the plain one is updated, and the
#   host fails naming the drifted one;
# - a program that ends with exit code 0 and prints nothing: the host fails.
# --all takes the databases the window offers, which EmberlineSupport is not.
# Usage: playbook.sh ANSIBLE_PLAYBOOK PLAYBOOK CLI PYTHON SANDBOX DIR
set -euo pipefail
ansible_playbook=$1
playbook=$2
cli=$3
python=$4
sandbox=$5
dir=$6

rm -rf "$dir"
mkdir -p "$dir/samples" "$dir/drifted" "$dir/tmp"
"$python" "$sandbox" seed "$dir/samples" >/dev/null
# Jinja braces, quotes, a line break and a control character.
hostile=$'Sales {{ 7 * 7 }} "Zurich"\n\x7f'
cp "$dir/samples/Emberline.sqlite" "$dir/samples/$hostile.sqlite"
cp "$dir/samples/Emberline.sqlite" "$dir/drifted/"
# Updated, and a flag changed by hand since.
cp "$dir/samples/EmberlineArchive.sqlite" "$dir/drifted/$hostile.sqlite"
"$python" -c 'import sqlite3, sys
with sqlite3.connect(sys.argv[1]) as db:
    db.execute("UPDATE L_Kind SET Direct = 1 - Direct WHERE KindCode = ?", sys.argv[2:])' \
    "$dir/drifted/$hostile.sqlite" MAOC

control() {
    "$python" "$sandbox" control "$SANDBOX_DIR/control.sock" \
        "$("$python" -c 'import json, sys; print(json.dumps({"cmd": "data", "dir": sys.argv[1]}))' "$1")" \
        >/dev/null
}
trap 'control "$SANDBOX_DIR/data"' EXIT

# No user or system configuration, so the default output is what is compared.
: >"$dir/ansible.cfg"
export ANSIBLE_CONFIG=$dir/ansible.cfg ANSIBLE_HOME=$dir/home ANSIBLE_LOCAL_TEMP=$dir/tmp \
    ANSIBLE_REMOTE_TEMP=$dir/tmp ANSIBLE_NOCOLOR=1 ANSIBLE_PYTHON_INTERPRETER=auto_silent

"$ansible_playbook" --syntax-check -i localhost, "$playbook" >"$dir/syntax.out"

# Runs the playbook with the program $2 and compares what it tells of the host (the summary,
# the failure, the recap and ansible-playbook's exit code) with standard input.
play() {
    local out=$dir/$1 status=0
    "$ansible_playbook" -i localhost, -c local "$playbook" -e "flagwright_cli=$2" \
        >"$out.out" 2>&1 || status=$?
    cat "$out.out"
    {
        sed -n '/^TASK \[Summary\]/,/^}/p' "$out.out" | tail -n +2
        grep '^fatal: ' "$out.out" || true
        grep '^localhost ' "$out.out" | tr -s ' ' | sed 's/ $//'
        echo "exit code $status"
    } >"$out.told"
    diff -u - "$out.told"
}

control "$dir/samples"
play samples "$cli" <<'END'
ok: [localhost] => {
    "msg": [
        "check: 3 would update, 1 up to date, 0 drifted, 0 at another version, 2 not Emberline, 0 read-only, 0 skipped, 0 failed, exit code 0",
        "update: 3 updated, 3 skipped, 0 failed, exit code 0",
        "Emberline: updated, 14.01.03 to 14.01.04",
        "Emberline Training: updated, 14.01.03 to 14.01.04",
        "EmberlineArchive: refused",
        "Reports: not-emberline",
        "Sales {{ 7 * 7 }} \"Zurich\"\\n\\x7f: updated, 14.01.03 to 14.01.04",
        "Staging: not-emberline"
    ]
}
localhost : ok=4 changed=1 unreachable=0 failed=0 skipped=4 rescued=0 ignored=0
exit code 0
END

control "$dir/drifted"
play drifted "$cli" <<'END'
ok: [localhost] => {
    "msg": [
        "check: 1 would update, 0 up to date, 1 drifted, 0 at another version, 0 not Emberline, 0 read-only, 0 skipped, 0 failed, exit code 6",
        "update: 1 updated, 1 skipped, 0 failed, exit code 0",
        "Emberline: updated, 14.01.03 to 14.01.04",
        "Sales {{ 7 * 7 }} \"Zurich\"\\n\\x7f: refused"
    ]
}
fatal: [localhost]: FAILED! => {"changed": false, "msg": "Sales {{ 7 * 7 }} \"Zurich\"\\n\\x7f: drifted (14.01.04)"}
localhost : ok=4 changed=1 unreachable=0 failed=1 skipped=3 rescued=0 ignored=0
exit code 2
END

play silent true <<'END'
ok: [localhost] => {
    "msg": [
        "check: no summary, exit code 0"
    ]
}
fatal: [localhost]: FAILED! => {"changed": false, "msg": "check --all ended with exit code 0, without its summary line"}
localhost : ok=3 changed=0 unreachable=0 failed=1 skipped=4 rescued=0 ignored=0
exit code 2
END

for db in samples/Emberline "samples/$hostile" drifted/Emberline; do
    [ "$("$python" "$sandbox" default "$dir/$db.sqlite" DBVersion)" = 14.01.04 ]
done
