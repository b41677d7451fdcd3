#!/usr/bin/env bash
# Every benchmark in one command, on the admin tool's synthetic data set
# (2,000,000 voucher rows and the large master tables) once on SQLite and
# once on PostgreSQL. The data is made on the first run and kept between runs
# (made again when the code that shapes it changes).
#
#   bench/run.sh [--runs N] [--seconds T] [--sqlite-only]
#
#   --runs N      timed runs per figure (median), default 15
#   --seconds T   how long the workstations write, default 20
#   VOUCHER_BENCH_BUILD  build folder (default build)
#   VOUCHER_BENCH_DATA   data folder (default /tmp/voucher-bench-data)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=15
seconds=20
postgres=1
while [ $# -gt 0 ]; do
    case "$1" in
        --runs) runs=$2; shift 2 ;;
        --seconds) seconds=$2; shift 2 ;;
        --sqlite-only) postgres=0; shift ;;
        *) echo "usage: bench/run.sh [--runs N] [--seconds T] [--sqlite-only]" >&2; exit 2 ;;
    esac
done

build=${VOUCHER_BENCH_BUILD:-build}
data=${VOUCHER_BENCH_DATA:-/tmp/voucher-bench-data}
mkdir -p "$data"
log=$data/last-run.txt
exec > >(tee "$log") 2>&1

scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target voucher voucher-admin bench_plans bench_entry bench_startup \
    bench_emptywindow bench_lookup bench_waits bench_workstations system_workstation >/dev/null
export QT_QPA_PLATFORM=offscreen
bin=$build/bench
admin=$build/voucher-admin

# The data sets, named after the code that shapes them.
signature=$(cat src/schema/schema.cpp src/schema/demodata*.cpp admin/*.cpp admin/*.h | sha1sum | cut -c1-10)
big=$data/sqlite-$signature/voucher/Account.db   # where the program looks: <XDG_DATA_HOME>/voucher/Account.db
demo=$data/demo-$signature/voucher/Account.db
if [ ! -f "$big" ]; then
    rm -rf "$data"/sqlite-* "$data"/demo-*
    mkdir -p "$(dirname "$big")" "$(dirname "$demo")"
    echo "== making the SQLite data set (a few minutes, once)"
    "$admin" synth --sqlite "$big.part"
    mv "$big.part" "$big"
    "$admin" init --sqlite "$demo" >/dev/null
fi

if [ "$postgres" = 1 ]; then
    eval "$(scripts/pg-test-env.sh start)" # the shared test server; left running
    shared_odbcini=$ODBCINI
    database=account_bench_$signature
    psql_() { runuser -u postgres -- psql -h 127.0.0.1 -p "$VOUCHER_PG_PORT" -U postgres -tA "$@"; }
    mkdir -p "$data/odbc"
    cp "$ODBCSYSINI/odbcinst.ini" "$data/odbc/odbcinst.ini"
    sed "s/^Database=.*/Database=$database/" "$ODBCINI" >"$data/odbc/odbc.ini"
    bench_odbc() { ODBCSYSINI="$data/odbc" ODBCINI="$data/odbc/odbc.ini" "$@"; }
    if [ "$(psql_ -c "select count(*) from pg_database where datname = '$database'")" != 1 ] \
        || [ ! -f "$data/$database.done" ]; then
        for old in $(psql_ -c "select datname from pg_database where datname like 'account_bench_%'"); do
            psql_ -c "drop database $old" >/dev/null
        done
        psql_ -c "create database $database" >/dev/null
        echo "== making the PostgreSQL data set in database $database (a few minutes, once)"
        bench_odbc "$admin" synth --odbc
        touch "$data/$database.done"
    fi
fi

failed=0
run() { "$@" || failed=1; }
pg() { if [ "$postgres" = 1 ]; then run "$@"; fi; }

echo
echo "== Query plans of the entry window's statements (index use)"
"$bin/bench_plans" --sqlite "$big" | grep -E '^(sample|==)|SCAN|SEARCH' || failed=1
if [ "$postgres" = 1 ]; then
    bench_odbc "$bin/bench_plans" --odbc | grep -E '^==|Scan|Index Cond' || failed=1
fi

run "$bin/bench_entry" --sqlite "$big" --runs "$runs"
pg bench_odbc "$bin/bench_entry" --odbc --runs "$runs"

run "$bin/bench_startup" --sqlite "$demo" --runs "$runs" --label "sqlite (demo data)"
run "$bin/bench_startup" --sqlite "$big" --runs "$runs"
pg bench_odbc "$bin/bench_startup" --odbc --runs "$runs"

echo
echo "== Lookup dialogs (bench_lookup, its own copy of the synthetic master data)"
if [ "$postgres" = 1 ]; then
    run env ODBCINI="$shared_odbcini" "$bin/bench_lookup" --runs "$runs"
else
    run "$bin/bench_lookup" --runs "$runs" --sqlite-only
fi

# Each wait lasts its bound (5 to 15 s): three runs are enough.
if [ "$postgres" = 1 ]; then
    run env ODBCINI="$shared_odbcini" "$bin/bench_waits" --runs 3
else
    run "$bin/bench_waits" --runs 3 --sqlite-only
fi

run "$bin/bench_workstations" --sqlite "$big" --workers 4 --seconds "$seconds"
pg bench_odbc "$bin/bench_workstations" --odbc --workers 8 --seconds "$seconds"

echo
echo "(this output is also in $log)"
exit $failed
