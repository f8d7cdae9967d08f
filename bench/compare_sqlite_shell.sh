#!/bin/sh
# Times the order-list query in the sqlite3 shell, to set beside corvalin_bench's figures:
#   bench/compare_sqlite_shell.sh DB [RUNS]
# Uses hyperfine when it is installed, else a loop timed with date +%s%N. Each figure includes
# starting the sqlite3 process; the "start only" line shows what that costs by itself.
set -eu

if [ $# -lt 1 ] || [ ! -f "$1" ]; then
    echo "usage: $0 DB [RUNS]   (DB: a database made by corvalin_demo)" >&2
    exit 2
fi
db=$1
runs=${2:-20}
command -v sqlite3 >/dev/null || { echo "$0: sqlite3 is not installed" >&2; exit 2; }

sql="select * from t_client order by F_code"
start_only="sqlite3 '$db' 'select 1' >/dev/null"
with_limit="sqlite3 '$db' '$sql limit 100' >/dev/null"
# head closes the pipe after 100 rows and the shell stops at its next write.
piped="sqlite3 '$db' '$sql' | head -100 >/dev/null"

if command -v hyperfine >/dev/null; then
    exec hyperfine --warmup 3 --runs "$runs" --shell sh \
        -n "start only" "$start_only" \
        -n "limit 100" "$with_limit" \
        -n "no limit | head -100" "$piped"
fi

# Mean and best wall time of a command over $runs runs, after one warm-up run.
measure() {
    name=$1
    cmd=$2
    sh -c "$cmd"
    total=0
    best=
    i=0
    while [ "$i" -lt "$runs" ]; do
        t0=$(date +%s%N)
        sh -c "$cmd"
        t1=$(date +%s%N)
        elapsed=$((t1 - t0))
        total=$((total + elapsed))
        if [ -z "$best" ] || [ "$elapsed" -lt "$best" ]; then
            best=$elapsed
        fi
        i=$((i + 1))
    done
    awk -v name="$name" -v total="$total" -v best="$best" -v runs="$runs" \
        'BEGIN { printf "%-22s mean %8.2f ms   best %8.2f ms   (%d runs)\n", name, total / runs / 1e6, best / 1e6, runs }'
}

echo "sqlite3 $(sqlite3 --version | cut -d' ' -f1), $db"
measure "start only" "$start_only"
measure "limit 100" "$with_limit"
measure "no limit | head -100" "$piped"
