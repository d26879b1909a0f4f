#!/usr/bin/env bash
# Checks the playbook's syntax (its Windows tasks too), then runs it on this machine with the
# built flagwright-cli against the sandbox instance in SANDBOX_DIR, serving freshly seeded
# samples and one database with a hostile name, and compares the summary it prints. --all
# takes the databases the window offers, which EmberlineSupport is not.
# Usage: playbook.sh ANSIBLE_PLAYBOOK PLAYBOOK CLI PYTHON SANDBOX DIR
set -euo pipefail
ansible_playbook=$1
playbook=$2
cli=$3
python=$4
sandbox=$5
dir=$6

rm -rf "$dir"
mkdir -p "$dir/data" "$dir/tmp"
"$python" "$sandbox" seed "$dir/data" >/dev/null
# Jinja braces, quotes, a line break and a control character.
hostile=$'Sales {{ 7 * 7 }} "Zurich"\n\x7f'
cp "$dir/data/Emberline.sqlite" "$dir/data/$hostile.sqlite"

control() {
    "$python" "$sandbox" control "$SANDBOX_DIR/control.sock" \
        "$("$python" -c 'import json, sys; print(json.dumps({"cmd": "data", "dir": sys.argv[1]}))' "$1")" \
        >/dev/null
}
control "$dir/data"
trap 'control "$SANDBOX_DIR/data"' EXIT

# No user or system configuration, so the default output is what is compared.
: >"$dir/ansible.cfg"
export ANSIBLE_CONFIG=$dir/ansible.cfg ANSIBLE_HOME=$dir/home ANSIBLE_LOCAL_TEMP=$dir/tmp \
    ANSIBLE_REMOTE_TEMP=$dir/tmp ANSIBLE_NOCOLOR=1 ANSIBLE_PYTHON_INTERPRETER=auto_silent

"$ansible_playbook" --syntax-check -i localhost, "$playbook" >"$dir/syntax.out"

status=0
"$ansible_playbook" -i localhost, -c local "$playbook" -e "flagwright_cli=$cli" \
    >"$dir/run.out" 2>&1 || status=$?
cat "$dir/run.out"
if [ "$status" -ne 0 ]; then
    echo "playbook.sh: ansible-playbook ended with exit code $status" >&2
    exit 1
fi

# The summary task's output, from its header to the end of its result.
sed -n '/^TASK \[Summary\]/,/^}/p' "$dir/run.out" | tail -n +2 >"$dir/summary.out"
cat >"$dir/summary.expected" <<'END'
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
END
diff -u "$dir/summary.expected" "$dir/summary.out"
grep -q '^localhost *: ok=4 *changed=1 *unreachable=0 *failed=0 ' "$dir/run.out"
for db in Emberline "$hostile"; do
    [ "$("$python" "$sandbox" default "$dir/data/$db.sqlite" DBVersion)" = 14.01.04 ]
done
