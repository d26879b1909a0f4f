# Shared by the benchmark scripts: a sandbox instance in a scratch folder, fresh database
# copies, the plain client, medians. Sourced, not run.
root=$(realpath "$(dirname "${BASH_SOURCE[0]}")/..")
# On tmpfs by default: the disk is shared with other work, and the sandbox syncs every
# statement's commit to it, so its waits would swamp what is measured. BENCH_ON_DISK=1 keeps
# the databases on disk instead.
if [ "${BENCH_ON_DISK:-0}" = 1 ]; then
    work=$(mktemp -d /var/tmp/flagwright-bench.XXXXXX)
else
    work=$(mktemp -d /dev/shm/flagwright-bench.XXXXXX)
fi
sandbox_dir=$work/sandbox
sandbox=$root/sandbox/emberline-sandbox
login_user=DBOPS
login_password='58GrUw3Hyb!!'

stop_sandbox() {
    python3 "$sandbox" stop "$sandbox_dir/serve.ready"
}

cleanup() {
    stop_sandbox
    rm -rf "$work"
}
trap cleanup EXIT

# Seeds and starts the sandbox (browser on UDP 1434); sets sandbox_port and sandbox_pid.
start_sandbox() {
    "$root/tests/e2e/start-sandbox.sh" python3 "$sandbox" "$sandbox_dir"
    read -r sandbox_pid sandbox_port <"$sandbox_dir/serve.ready"
}

fresh_copy() {
    cp "$sandbox_dir/data/Emberline.sqlite" "$sandbox_dir/data/$1.sqlite"
}

machine_line() {
    echo "data on $(df --output=fstype "$work" | tail -1)"
    echo "machine: $(nproc) CPUs, $(lscpu | sed -n 's/^Model name: *//p'), $(uptime | sed 's/.*load/load/')"
}

# The DSN-less connection string of the plain client; FreeTDS reads a braced value up to "};".
plain_connect_string() {
    printf 'Driver=FreeTDS;Server=127.0.0.1;Port=%s;UID=%s;PWD=%s;Database={%s};TDS_Version=7.4;ClientCharset=UTF-8' \
        "$sandbox_port" "$login_user" "$login_password" "$1"
}

# Sends the statements in file $2, one per request, to database $1 with isql; prints its wall
# seconds, and leaves its CPU seconds and peak RSS (KiB) in $work/isql.usage.
time_plain_client() {
    local started ended
    started=$(date +%s.%N)
    /usr/bin/time -f '%U %S %M' -o "$work/isql.usage" \
        isql -k "$(plain_connect_string "$1")" -b -e <"$2" >"$work/isql.out" 2>&1 || {
        cat "$work/isql.out" >&2
        return 1
    }
    ended=$(date +%s.%N)
    seconds_between "$started" "$ended"
}

plain_client_cpu_rss() {
    awk '{ printf "%.4f\t%s\n", $1 + $2, $3 }' "$work/isql.usage"
}

# The sandbox's user+system CPU seconds so far.
sandbox_cpu() {
    awk -v hz="$(getconf CLK_TCK)" '{ printf "%.4f\n", ($14 + $15) / hz }' "/proc/$sandbox_pid/stat"
}

seconds_between() {
    awk -v a="$1" -v b="$2" 'BEGIN { printf "%.4f\n", b - a }'
}

# Fails unless both databases now carry the new version.
check_updated() {
    local db version
    for db in "$@"; do
        version=$(python3 "$sandbox" default "$sandbox_dir/data/$db.sqlite" DBVersion)
        [ "$version" = 14.01.04 ] || { echo "$db was not updated ($version)" >&2; return 1; }
    done
}

median() {
    printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {
        if (NR % 2) print v[(NR + 1) / 2]; else printf "%.4f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
