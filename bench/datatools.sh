#!/usr/bin/env bash
# The admin tool's long commands against the engines' own bulk paths for the
# same rows, side by side in one run: seconds, peak memory, the ratio to the
# floor and whether the goal is met.
#
#   bench/datatools.sh ADMIN SQLITE_FILE [BEFORE_ADMIN]
#
#   ADMIN        the voucher-admin to time
#   SQLITE_FILE  a ledger (voucher-admin synth); it is only read
#   BEFORE_ADMIN another build of voucher-admin, timed beside it (a "before")
#   The data source Account (ODBCSYSINI, ODBCINI) names a scratch PostgreSQL
#   database, reached by psql through VOUCHER_PG_PORT as user postgres: its
#   tables are replaced; without ODBCINI only the SQLite figures are taken.
set -uo pipefail
admin=$(realpath "$1")
ledger=$(realpath "$2")
before=${3:+$(realpath "$3")}
work=$(mktemp -d /tmp/voucher-datatools.XXXXXX)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work" # the postgres user reads the floors' files
server=0
[ -n "${ODBCINI:-}" ] && server=1
database=$(sed -n 's/^Database=//p' "${ODBCINI:-/dev/null}" 2>/dev/null | head -n 1)
export database
psql_() { runuser -u postgres -- psql -h 127.0.0.1 -p "$VOUCHER_PG_PORT" -U postgres -d "$database" -qtAX -v ON_ERROR_STOP=1 "$@"; }
tables="kubun_table test_ac_code Sale_Table Bank_Table Sawon_Table Buser_Table Project_Table Item_Table Jen_Print account_jen_AA closed_books voucher_history"
order="Date_Day, Serial_Jen, Serial_Bun, Serial_CrDr"
# One SQL statement over the ledger asking what check asks: every line one
# pair with mirrored amounts, one voucher a number, each Serial spelling its
# keys, every code in its master table.
has() { echo "(rtrim(j.$1) <> '' AND NOT EXISTS (SELECT 1 FROM $2 m WHERE m.$3 = j.$1))"; }
check_sql="SELECT
 (SELECT count(*) FROM (SELECT 1 FROM account_jen_AA GROUP BY Serial_Jen, Serial_Bun
   HAVING count(*) <> 2 OR sum(Cr_Amt) <> sum(Dr_Amt)) AS lines),
 (SELECT count(*) FROM (SELECT 1 FROM account_jen_AA GROUP BY Serial_Jen
   HAVING count(DISTINCT Date_Day || Kubun_Bon || Kubun_Jen || Form_Kubun) > 1) AS numbers),
 (SELECT count(*) FROM account_jen_AA j WHERE rtrim(j.Serial) <> 'AA*' || rtrim(j.Kubun_Bon) || '*' || rtrim(j.Kubun_Jen)
   || '*' || rtrim(j.Serial_Jen) || '*' || rtrim(j.Serial_Bun) || '*' || rtrim(j.Form_Kubun) || '*' || rtrim(j.Serial_CrDr)
   OR $(has Ac_JenCode test_ac_code ac_code) OR ($(has Kubun_Code Sale_Table Sale_Code) AND $(has Kubun_Code Bank_Table Bank_Code))
   OR $(has Sawon_Code Sawon_Table Sawon_Code) OR $(has Buser_Code Buser_Table Buser_Code)
   OR $(has Project_Code Project_Table Project_Code) OR $(has Item_Code Item_Table Item_Code)
   OR $(has Kubun_Bon kubun_table Kubun_Code))"
rows=$(sqlite3 "$ledger" "select count(*) from account_jen_AA")
# Each copy and backup is removed once timed; the exports stay to be
# compared at the end. A server holds the copied ledger and the floor's copy
# at once, each with its indexes about three times the file. So about nine
# times the ledger's file must be free where the copies go, two more for a
# before build: a disk filled half-way through fails every command after it.
ledger_bytes=$(stat -c %s "$ledger")
copies=3 # without a server: the exports, the backup and the floor's
[ "$server" = 1 ] && copies=9
[ -n "$before" ] && copies=$((copies + 2))
need=$((copies * ledger_bytes))
free_bytes=$(df -B1 --output=avail "$work" | tail -n 1)
if [ "$server" = 1 ] && [ -n "${VOUCHER_PG_ROOT:-}" ]; then
    server_free=$(df -B1 --output=avail "$VOUCHER_PG_ROOT" | tail -n 1)
    [ "$server_free" -lt "$free_bytes" ] && free_bytes=$server_free
fi
if [ "$free_bytes" -lt "$need" ]; then
    echo "datatools: about $((need >> 30)) GB must be free for the copies of $ledger; $((free_bytes >> 30)) GB are" >&2
    exit 2
fi

# timed NAME COMMAND...: seconds and peak memory (MB) of the command and its children.
timed() {
    local name=$1; shift
    if ! /usr/bin/time -f '%e %M' -o "$work/$name.time" "$@" >"$work/$name.out" 2>&1; then
        echo "  $name failed:" >&2; tail -n 5 "$work/$name.out" >&2
        echo "- -" >"$work/$name.time"
    fi
    awk '{ printf "%s %d\n", $1, $2 / 1024 }' "$work/$name.time" | tail -n 1 >"$work/$name.t"
}
seconds() { cut -d' ' -f1 "$work/$1.t"; }
megabytes() { cut -d' ' -f2 "$work/$1.t"; }

export -f psql_
export ledger work tables order
floors() {
    if [ "$server" = 1 ]; then
        psql_ -c "set client_min_messages = warning" -c "drop schema if exists floor cascade" -c "create schema floor"
        for t in $tables; do psql_ -c "create table floor.$t (like public.$t including all)"; done
        # sqlite3 -csv into psql's COPY, every table in one transaction.
        timed floor-to-server bash -c '{ echo "begin;"; for t in $tables; do echo "copy floor.$t from stdin (format csv);"
            sqlite3 -csv "$ledger" "select * from $t"; echo "\."; done; echo "commit;"; } | psql_'
        # psql's COPY out into sqlite3 .import, into a file of the same tables.
        sqlite3 "$ledger" .schema | grep -v sqlite_sequence | sqlite3 "$work/floor-back.db"
        timed floor-from-server bash -c 'for t in $tables; do psql_ -c "copy public.$t to stdout (format csv)" \
            | sqlite3 "$work/floor-back.db" ".import --csv /dev/stdin $t"; done'
        rm -f "$work/floor-back.db"
        timed floor-export-server bash -c 'psql_ -c "copy (select * from account_jen_AA order by $order) to stdout (format csv, header)" >"$work/f2.csv"'
        rm -f "$work/f2.csv"
        export check_sql
        timed floor-check-server bash -c 'psql_ -c "$check_sql"'
        psql_ -c "copy public.Sale_Table to stdout (format csv, header)" >"$work/customers-floor.csv"
        timed floor-import-server bash -c 'psql_ -1 -c "truncate floor.Sale_Table" -c "copy floor.Sale_Table from stdin (format csv, header)" <"$work/customers-floor.csv"'
    fi
    timed floor-export-sqlite bash -c 'sqlite3 -csv -header "$ledger" "select * from account_jen_AA order by $order" >"$work/f1.csv"'
    rm -f "$work/f1.csv"
    timed floor-check-sqlite sqlite3 "$ledger" "$check_sql"
    timed floor-backup-sqlite sqlite3 "$ledger" ".backup '$work/floor-backup.db'"
    rm -f "$work/floor-backup.db"
}

# commands TAG ADMIN: every command of one build.
commands() {
    local tag=$1 bin=$2
    if [ "$server" = 1 ]; then
        # Into empty tables, as the floor copies: every build meets the same
        # target, not the rows and dead rows the build before it left.
        for t in $tables; do psql_ -c "truncate public.$t" 2>/dev/null; done
        timed "$tag-copy-to-server" "$bin" copy --from "sqlite:$ledger" --to odbc --replace
        # Untimed: the freshly written rows settled (hint bits, visibility,
        # statistics) before they are read, as the floors later read them;
        # otherwise the first reader pays for the writing, against autovacuum.
        for t in $tables; do psql_ -c "vacuum (analyze) public.$t"; done
        timed "$tag-copy-from-server" "$bin" copy --from odbc --to "sqlite:$work/back-$tag.db"
        rm -f "$work/back-$tag.db"
        timed "$tag-export-server" "$bin" export account_jen_AA "$work/jen-$tag-server.csv" --odbc
        timed "$tag-check-server" "$bin" check --odbc
        timed "$tag-import-server" "$bin" import Sale_Table "$work/customers.csv" --replace --odbc
    fi
    timed "$tag-export-sqlite" "$bin" export account_jen_AA "$work/jen-$tag-sqlite.csv" --sqlite "$ledger"
    timed "$tag-check-sqlite" "$bin" check --sqlite "$ledger"
    timed "$tag-backup-sqlite" "$bin" backup "$work/backup-$tag.db" --sqlite "$ledger"
    rm -f "$work/backup-$tag.db"
}

"$admin" export Sale_Table "$work/customers.csv" --sqlite "$ledger" >/dev/null
[ -n "$before" ] && commands before "$before"
commands after "$admin"
floors

echo
echo "== Data tools on $rows voucher rows: seconds (peak MB), against the engine's own path"
printf '%-36s %16s %16s %9s %7s  %-18s %s\n' figure before now floor ratio goal met
failed=0
row() { # row LABEL NAME FLOOR_NAME MAX_RATIO
    local label=$1 name=$2 floor=$3 most=$4 b=-
    [ -n "$before" ] && b="$(seconds "before-$name") ($(megabytes "before-$name"))"
    awk -v l="$label" -v b="$b" -v s="$(seconds "after-$name")" -v m="$(megabytes "after-$name")" \
        -v f="$(seconds "$floor")" -v most="$most" 'BEGIN {
        r = (f > 0 && s != "-") ? s / f : 0
        # most "-": a memory goal only; the floor is shown for scale.
        met = (s != "-" && (most == "-" || (f > 0 && r <= most)) && m < 150) ? "yes" : "NO"
        goal = most == "-" ? "<150MB" : "<=" most "x, <150MB"
        printf "%-36s %16s %16s %9s %6.1fx  %-18s %s\n", l, b, s " (" m ")", f, r, goal, met
        exit met == "yes" ? 0 : 1 }' || failed=1
}
if [ "$server" = 1 ]; then
    row "copy SQLite -> PostgreSQL" copy-to-server floor-to-server 2
    row "copy PostgreSQL -> SQLite" copy-from-server floor-from-server 2
    row "export account_jen_AA, PostgreSQL" export-server floor-export-server 2
    row "check, PostgreSQL" check-server floor-check-server 2
    row "import Sale_Table, PostgreSQL" import-server floor-import-server 3
fi
row "export account_jen_AA, SQLite" export-sqlite floor-export-sqlite 2
row "check, SQLite" check-sqlite floor-check-sqlite 2
row "backup, SQLite (checked)" backup-sqlite floor-backup-sqlite -
# The exports of one ledger are one file, whichever build and engine wrote them.
for f in "$work"/jen-*.csv; do
    cmp -s "$f" "$work/jen-after-sqlite.csv" || { echo "export differs: $(basename "$f") from jen-after-sqlite.csv"; failed=1; }
done
echo "floors: sqlite3 -csv | psql COPY in one transaction; psql COPY | sqlite3 .import; sqlite3 -csv / psql COPY of"
echo "the ordered ledger; one SQL statement asking what check asks; psql COPY of the customers; sqlite3 .backup"
echo "(each copy to the server starts from empty tables, as the floor's does; the exports are compared byte for byte)"
exit $failed
