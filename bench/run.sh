#!/usr/bin/env bash
# Every benchmark in one command, on the admin tool's synthetic data set
# (2,000,000 voucher rows and the large master tables) once on SQLite and
# once on PostgreSQL. The data is made on the first run and kept between runs
# (made again when the code that shapes it changes).
#
#   bench/run.sh [--runs N] [--seconds T] [--sqlite-only] [--sizes N,N,...] [--growth-only]
#
#   --runs N        timed runs per figure (median), default 15
#   --seconds T     how long the workstations write at each rate (one action a second each,
#                   then ten), default 60
#   --sizes N,N,... ledger sizes in voucher rows (e.g. 200000,2000000,10000000):
#                   the entry window's list, load, save and correction on each,
#                   and their growth from the smallest to the largest; the data
#                   tools on each size instead of the big set alone
#   --growth-only   with --sizes: that table alone
#   VOUCHER_BENCH_BUILD  build folder (default build)
#   VOUCHER_BENCH_DATA   data folder (default /tmp/voucher-bench-data)
#   VOUCHER_BENCH_PG_PORT  port of the benchmarks' own PostgreSQL server (default 54339)
#   VOUCHER_BENCH_ADMIN_BEFORE  another build's voucher-admin, timed beside this one by the data tools' section
set -euo pipefail
cd "$(dirname "$0")/.."

runs=15
seconds=60
postgres=1
sizes=
growth_only=0
usage="usage: bench/run.sh [--runs N] [--seconds T] [--sqlite-only] [--sizes N,N,...] [--growth-only]"
while [ $# -gt 0 ]; do
    case "$1" in
        --runs) runs=$2; shift 2 ;;
        --seconds) seconds=$2; shift 2 ;;
        --sqlite-only) postgres=0; shift ;;
        --sizes) sizes=$2; shift 2 ;;
        --growth-only) growth_only=1; shift ;;
        *) echo "$usage" >&2; exit 2 ;;
    esac
done
if [ -n "$sizes" ] && ! [[ "$sizes" =~ ^[0-9]+(,[0-9]+)+$ ]]; then
    echo "--sizes: two or more row counts separated by commas" >&2; exit 2
fi
if [ "$growth_only" = 1 ] && [ -z "$sizes" ]; then
    echo "--growth-only needs --sizes" >&2; exit 2
fi

build=${VOUCHER_BENCH_BUILD:-build}
data=${VOUCHER_BENCH_DATA:-/tmp/voucher-bench-data}
mkdir -p "$data"
log=$data/last-run.txt
exec > >(tee "$log") 2>&1

scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target voucher voucher-admin bench_plans bench_entry bench_startup \
    bench_emptywindow bench_clerkrun bench_lookup bench_waits bench_workstations system_workstation >/dev/null
export QT_QPA_PLATFORM=offscreen
bin=$build/bench
admin=$build/voucher-admin

# The data sets, named after the code that shapes their rows; the admin tool's
# init brings a kept set's tables and indexes up to the schema of this build.
signature=$(cat src/schema/demodata*.cpp admin/synth*.cpp admin/synth*.h admin/koreanwords.* admin/dice.h \
    admin/bulkinserter.* | sha1sum | cut -c1-10)
big=$data/sqlite-$signature/voucher/Account.db   # where the program looks: <XDG_DATA_HOME>/voucher/Account.db
demo=$data/demo-$signature/voucher/Account.db
if [ ! -f "$big" ]; then
    find "$data" -maxdepth 1 \( -name 'sqlite-*' -o -name 'demo-*' \) ! -name "*-$signature*" -exec rm -rf {} +
    mkdir -p "$(dirname "$big")" "$(dirname "$demo")"
    echo "== making the SQLite data set (a few minutes, once)"
    "$admin" synth --sqlite "$big.part"
    mv "$big.part" "$big"
    "$admin" init --sqlite "$demo" >/dev/null
fi
"$admin" init --sqlite "$big" >/dev/null

if [ "$postgres" = 1 ]; then
    # A server of the benchmarks' own, left running with its data sets: the
    # test suite's server (port 54329) is removed when the tests end.
    eval "$(VOUCHER_PG_PORT=${VOUCHER_BENCH_PG_PORT:-54339} scripts/pg-test-env.sh start)"
    shared_odbcini=$ODBCINI
    database=account_bench_$signature
    psql_() { runuser -u postgres -- psql -h 127.0.0.1 -p "$VOUCHER_PG_PORT" -U postgres -tA "$@"; }
    bench_odbc() { odbc_for "$database" "$@"; }
    # Databases of code that shaped them differently go.
    for old in $(psql_ -c "select datname from pg_database where datname like 'account_bench_%' \
                           and datname not like 'account_bench_${signature}%'"); do
        psql_ -c "drop database $old" >/dev/null
    done
    # make_database NAME [synth options]: made once, kept while the code is the same.
    make_database() {
        local name=$1; shift
        if [ "$(psql_ -c "select count(*) from pg_database where datname = '$name'")" != 1 ] \
            || [ ! -f "$data/$name.done" ]; then
            psql_ -c "set client_min_messages = warning" -c "drop database if exists $name" >/dev/null
            psql_ -c "create database $name" >/dev/null
            echo "== making the PostgreSQL data set in database $name (a few minutes, once)"
            odbc_for "$name" "$admin" synth --odbc "$@"
            touch "$data/$name.done"
        fi
        odbc_for "$name" "$admin" init --odbc >/dev/null
    }
    # odbc_for NAME COMMAND...: the command on the data source Account naming database NAME.
    odbc_for() {
        local name=$1; shift
        mkdir -p "$data/odbc-$name"
        cp "$ODBCSYSINI/odbcinst.ini" "$data/odbc-$name/odbcinst.ini"
        sed "s/^Database=.*/Database=$name/" "$shared_odbcini" >"$data/odbc-$name/odbc.ini"
        ODBCSYSINI="$data/odbc-$name" ODBCINI="$data/odbc-$name/odbc.ini" "$@"
    }
    # The 2,000,000-row set, unless only the growth of other sizes is asked for.
    if [ "$growth_only" = 0 ] || [[ ",$sizes," == *,2000000,* ]]; then
        make_database "$database"
    fi
fi

# The ledger sizes of --sizes: each a data set of its own, with as many
# vouchers a working day as the 2,000,000-row set (more years, not fuller
# days), so that the clerk's list is the same size on each.
if [ -n "$sizes" ]; then
    sizes=$(tr , '\n' <<<"$sizes" | sort -n | uniq | paste -sd,)
    years_for() { echo $((($1 + 199999) / 200000)); }
    sized_sqlite() {
        if [ "$1" = 2000000 ]; then echo "$big"; return; fi
        echo "$data/sqlite-$signature-rows$1/voucher/Account.db"
    }
    for rows in ${sizes//,/ }; do
        file=$(sized_sqlite "$rows")
        if [ ! -f "$file" ]; then
            mkdir -p "$(dirname "$file")"
            echo "== making the SQLite data set of $rows rows (once)"
            "$admin" synth --sqlite "$file.part" --rows "$rows" --years "$(years_for "$rows")" >/dev/null
            mv "$file.part" "$file"
        fi
        "$admin" init --sqlite "$file" >/dev/null
        if [ "$postgres" = 1 ] && [ "$rows" != 2000000 ]; then
            make_database "${database}_rows$rows" --rows "$rows" --years "$(years_for "$rows")" >/dev/null
        fi
    done
fi

failed=0
run() { "$@" || failed=1; }
pg() { if [ "$postgres" = 1 ]; then run "$@"; fi; }

# The entry window on every size of --sizes, then the growth of the handler's
# time from the smallest ledger to the largest; goal: at most 1.5x.
growth() {
    local engine rows out smallest largest
    smallest=${sizes%%,*}
    largest=${sizes##*,}
    for engine in sqlite postgres; do
        [ "$engine" = postgres ] && [ "$postgres" = 0 ] && continue
        for rows in ${sizes//,/ }; do
            out=$data/growth-$engine-$rows.txt
            echo
            echo "== Entry window on $engine, $rows voucher rows"
            if [ "$engine" = sqlite ]; then
                "$bin/bench_entry" --sqlite "$(sized_sqlite "$rows")" --runs "$runs" >"$out" || failed=1
            elif [ "$rows" = 2000000 ]; then
                odbc_for "$database" "$bin/bench_entry" --odbc --runs "$runs" >"$out" || failed=1
            else
                odbc_for "${database}_rows$rows" "$bin/bench_entry" --odbc --runs "$runs" >"$out" || failed=1
            fi
            cat "$out"
        done
    done
    echo
    echo "== Growth with the ledger's size (handler ms, median of $runs runs; $smallest to $largest rows)"
    printf '%-9s %-36s %12s %12s %7s  %-11s %s\n' engine operation "$smallest" "$largest" growth goal met
    local operation small large
    for engine in sqlite postgres; do
        [ -f "$data/growth-$engine-$smallest.txt" ] || continue
        for operation in "list of a date and branch (pQuery)" "load a voucher (grid click)" \
            "save a five-line voucher" "correct a line"; do
            # The table's columns are two or more blanks apart; the third is the handler's ms.
            small=$(awk -F '  +' -v op="$operation" '$2 == op { print $3 }' "$data/growth-$engine-$smallest.txt")
            large=$(awk -F '  +' -v op="$operation" '$2 == op { print $3 }' "$data/growth-$engine-$largest.txt")
            if [ -z "$small" ] || [ -z "$large" ]; then
                printf '%-9s %-36s %12s %12s %7s  %-11s %s\n' "$engine" "$operation" "${small:--}" "${large:--}" - \
                    "growth<=1.5" NO
                failed=1
                continue
            fi
            awk -v e="$engine" -v op="$operation" -v s="$small" -v l="$large" 'BEGIN {
                g = l / s; met = g <= 1.5 ? "yes" : "NO"
                printf "%-9s %-36s %12.2f %12.2f %6.2fx  %-11s %s\n", e, op, s, l, g, "growth<=1.5", met
                exit g <= 1.5 ? 0 : 1 }' || failed=1
        done
    done
}

if [ "$growth_only" = 1 ]; then
    growth
    echo
    echo "(this output is also in $log)"
    exit $failed
fi

echo
echo "== Query plans of the entry window's statements (index use)"
"$bin/bench_plans" --sqlite "$big" | grep -E '^(sample|==)|SCAN|SEARCH' || failed=1
if [ "$postgres" = 1 ]; then
    bench_odbc "$bin/bench_plans" --odbc | grep -E '^==|Scan|Index Cond' || failed=1
fi

run "$bin/bench_entry" --sqlite "$big" --runs "$runs"
pg bench_odbc "$bin/bench_entry" --odbc --runs "$runs"

run "$bin/bench_startup" --sqlite "$demo" --runs "$runs" --label "sqlite (demo data)" --start-only
# Under Xvfb the starts on the big file, on the server and on the tiny demo
# file take turns in one run: each data source is held to the tiny file.
if [ "$postgres" = 1 ]; then
    run bench_odbc "$bin/bench_startup" --sqlite "$big" --odbc --tiny "$demo" --runs "$runs"
else
    run "$bin/bench_startup" --sqlite "$big" --tiny "$demo" --runs "$runs"
fi
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

run "$bin/bench_workstations" --sqlite "$big" --workers 4 --seconds "$seconds" --pace-ms 1000,100
pg bench_odbc "$bin/bench_workstations" --odbc --workers 8 --seconds "$seconds" --pace-ms 1000,100

if [ -n "$sizes" ]; then
    growth
fi

# The admin tool's long commands beside the engines' own bulk paths, on the
# ledger's own rows (each size of --sizes, or the big set); a scratch
# database on the server takes the copies.
datatools() {
    local file=$1
    echo
    echo "== Data tools (bench/datatools.sh)"
    if [ "$postgres" = 1 ]; then
        psql_ -c "set client_min_messages = warning" -c "drop database if exists account_tools" -c "create database account_tools" >/dev/null
        run odbc_for account_tools bench/datatools.sh "$admin" "$file" ${VOUCHER_BENCH_ADMIN_BEFORE:-}
    else
        run env -u ODBCINI bench/datatools.sh "$admin" "$file" ${VOUCHER_BENCH_ADMIN_BEFORE:-}
    fi
}
if [ -n "$sizes" ]; then
    for rows in ${sizes//,/ }; do datatools "$(sized_sqlite "$rows")"; done
else
    datatools "$big"
fi
if [ "$postgres" = 1 ]; then
    psql_ -c "drop database if exists account_tools" >/dev/null
fi

echo
echo "(this output is also in $log)"
exit $failed
